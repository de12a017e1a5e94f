#include "tundra/Lua_MethodTable.h"

#include <cassert>
#include <cstring>

namespace Lua {
namespace {

std::vector<TableSource>& Sources() {
    static std::vector<TableSource> sources;
    return sources;
}

}  // namespace

const Method* FindMethod(const MethodTable& table, const char* name) {
    for (const Method& method : table.methods) {
        if (std::strcmp(method.name, name) == 0) {
            return &method;
        }
    }
    return nullptr;
}

std::vector<const char*> JoinNames(std::initializer_list<std::vector<const char*>> runs) {
    std::vector<const char*> names;
    for (const std::vector<const char*>& run : runs) {
        names.insert(names.end(), run.begin(), run.end());
    }
    return names;
}

MethodTable ComposeTable(const char* scriptName, const std::vector<const char*>& names,
                         std::initializer_list<Method> own, const MethodTable& base) {
    const MethodTable ownTable{scriptName, own};
    MethodTable table{scriptName, {}, base.holdsValues};
    table.methods.reserve(names.size());
    for (const char* name : names) {
        const Method* method = FindMethod(ownTable, name);
        if (method == nullptr) {
            method = FindMethod(base, name);
        }
        assert(method != nullptr && "a composed table names a method nobody binds");
        if (method != nullptr) {
            table.methods.push_back({name, method->binding, method->accepts});
        }
    }
    return table;
}

TableRegistration::TableRegistration(TableSource source) { Sources().push_back(source); }

std::vector<const MethodTable*> RegisteredTables() {
    std::vector<const MethodTable*> tables;
    tables.reserve(Sources().size());
    for (const TableSource source : Sources()) {
        tables.push_back(&source());
    }
    return tables;
}

const MethodTable* FindTable(const char* scriptName) {
    for (const TableSource source : Sources()) {
        const MethodTable& table = source();
        if (std::strcmp(table.scriptName, scriptName) == 0) {
            return &table;
        }
    }
    return nullptr;
}

}  // namespace Lua
