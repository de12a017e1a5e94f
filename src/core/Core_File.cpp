#include "core/Core_File.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Core {
namespace {

// Strings are read in pieces of this size, so that a stored length is never
// trusted with an allocation before its bytes have arrived.
constexpr std::uint32_t kStringPiece = 4096;

const char* TypeOf(const Object* object) {
    const char* type = object->GetType();
    return type != nullptr ? type : "";
}

// Counts one object whose Save runs, for as long as it lives.
class SaveScope {
public:
    explicit SaveScope(std::uint32_t& depth) : m_depth(depth) { ++m_depth; }
    ~SaveScope() { --m_depth; }
    SaveScope(const SaveScope&) = delete;
    SaveScope& operator=(const SaveScope&) = delete;

private:
    std::uint32_t& m_depth;
};

// Marks an object as being read while its Load runs.
class LoadScope {
public:
    LoadScope(std::vector<Object*>& loading, Object* object) : m_loading(loading) { m_loading.push_back(object); }
    ~LoadScope() { m_loading.pop_back(); }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    std::vector<Object*>& m_loading;
};

// Lets go of one reference to each object; the list is emptied first, so
// that destructors running here never see it half released.
void ReleaseAll(std::vector<Object*>& objects) {
    std::vector<Object*> releasing;
    releasing.swap(objects);
    for (Object* object : releasing) {
        object->Release();
    }
}

}  // namespace

File::~File() {
    ReleaseAll(m_held);
    ReleaseAll(m_unclaimed);
}

void File::WriteString(std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        SetFailed();
        return;
    }
    const auto length = static_cast<std::uint32_t>(text.size());
    WriteU32(length);
    if (length > 0) {
        Write(text.data(), length);
    }
}

void File::ReadString(String& text) {
    std::uint32_t length = 0;
    ReadU32(length);
    if (length == 0 || m_failed) {
        return;
    }
    String bytes;  // built apart, so that a read failing part way changes nothing
    for (std::uint32_t left = length; left > 0;) {
        const std::uint32_t count = std::min(left, kStringPiece);
        const std::size_t end = bytes.size();
        bytes.resize(end + count);
        Read(bytes.data() + end, count);
        if (m_failed) {
            return;
        }
        left -= count;
    }
    bytes.resize(std::strlen(bytes.c_str()));
    text = std::move(bytes);
}

void File::WriteObject(const Object* object) {
    if (m_failed) {
        return;
    }
    if (object == nullptr) {
        WriteU8(0);
        return;
    }
    const auto [entry, first] = m_writtenIds.try_emplace(object, m_lastId + 1);
    // A first reference needs a fresh id (none is left once the u32 ids wrap
    // to 0) and one more level of Save (a graph too deep for the reader's
    // limit would be refused when read back).
    if (first && (entry->second == 0 || m_writeDepth >= kMaxObjectDepth)) {
        m_writtenIds.erase(entry);
        SetFailed();
        return;
    }
    WriteU8(1);
    WriteString(TypeOf(object));
    WriteU32(entry->second);
    if (first) {
        m_lastId = entry->second;
        const SaveScope saving(m_writeDepth);
        object->Save(*this);
    }
}

Object* File::ReadCheckedObject(ObjectTest accepts, Reference reference) {
    if (m_failed) {
        return nullptr;
    }
    // Only an outermost read (no Load running) hands its objects over.
    if (!m_loading.empty()) {
        return ReadReference(accepts, reference);
    }
    Object* result = nullptr;
    try {
        result = ReadReference(accepts, reference);
    } catch (...) {
        SetFailed();
        FinishOutermostRead(nullptr);
        throw;
    }
    return FinishOutermostRead(result);
}

Object* File::ReadReference(ObjectTest accepts, Reference reference) {
    std::uint8_t present = 0;
    ReadU8(present);
    if (present > 1) {
        SetFailed();  // the writer stores only 0 and 1
    }
    if (present != 1) {
        return nullptr;
    }
    String name;
    std::uint32_t id = 0;
    ReadString(name);
    ReadU32(id);
    if (m_failed) {
        return nullptr;
    }

    const auto known = m_readObjects.find(id);
    if (known != m_readObjects.end()) {
        Object* object = known->second;
        if (object == nullptr) {
            return nullptr;  // an unregistered class, met before
        }
        // A back-reference names the class it was first read as.
        if (name != TypeOf(object) || Refuses(object, accepts, reference)) {
            SetFailed();
            return nullptr;
        }
        return object;
    }

    Object* object = CreateObjectByName(name.c_str());
    // Recorded before Load, so that references met inside it resolve to it.
    m_readObjects.emplace(id, object);
    if (object == nullptr) {
        return nullptr;
    }
    m_held.push_back(object);
    object->AddReference();
    if (Refuses(object, accepts, reference) || m_loading.size() >= kMaxObjectDepth) {
        SetFailed();
        return nullptr;
    }
    const LoadScope loading(m_loading, object);
    object->Load(*this);
    return object;
}

bool File::Refuses(const Object* object, ObjectTest accepts, Reference reference) const {
    // The reader expects another class.
    if (accepts != nullptr && !accepts(object)) {
        return true;
    }
    // Owning an object whose Load is still running closes a reference cycle.
    return reference == Reference::Owning && std::find(m_loading.begin(), m_loading.end(), object) != m_loading.end();
}

Object* File::FinishOutermostRead(Object* result) {
    if (m_failed) {
        // Nothing is read after a failure, and entries may name objects about to go.
        m_readObjects.clear();
        ReleaseAll(m_held);
        return nullptr;
    }
    for (Object* object : m_held) {
        // The result goes back unowned for the caller to take; objects that
        // others took are theirs. Neither reaches 0 here.
        if (object == result || object->GetReferenceCount() > 1) {
            object->ReleaseWithoutDestroy();
        } else {
            m_unclaimed.push_back(object);
        }
    }
    m_held.clear();
    return result;
}

void File::ResetObjectTables() {
    m_lastId = 0;
    m_writtenIds.clear();
    m_readObjects.clear();
    ReleaseAll(m_unclaimed);
}

}  // namespace Core
