#include "core/Core_File.h"

#include <algorithm>
#include <cstring>
#include <iterator>
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

// Lets go of the stream's references; the list is emptied first, so that
// destructors running here never see it half released.
void ReleaseAll(std::vector<RefPtr<Object>>& objects) {
    std::vector<RefPtr<Object>> releasing;
    releasing.swap(objects);
}

}  // namespace

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
    const auto known = m_writtenIds.find(object);
    if (known != m_writtenIds.end()) {
        WriteU8(1);
        WriteString(TypeOf(object));
        WriteU32(known->second);
        return;
    }
    // A first reference needs a fresh id (none is left once the u32 ids are
    // used up) and one more level of Save (a graph too deep for the reader's
    // limit would be refused when read back).
    if (m_lastWrittenId == std::numeric_limits<std::uint32_t>::max() || m_writeDepth >= kMaxObjectDepth) {
        SetFailed();
        return;
    }
    const std::uint32_t id = ++m_lastWrittenId;
    WriteU8(1);
    WriteString(TypeOf(object));
    WriteU32(id);
    m_writtenIds.emplace(object, id);
    // Holding the object keeps its address from being reused while the id
    // stands. Nothing can keep an object that nobody holds.
    const bool held = object->GetReferenceCount() > 0;
    if (held) {
        m_written.emplace_back(const_cast<Object*>(object));
    }
    {
        const SaveScope saving(m_writeDepth);
        object->Save(*this);
    }
    if (!held) {
        m_writtenIds.erase(object);
    }
}

Object* File::ReadCheckedObject(ObjectTest accepts, Reference reference) {
    if (m_failed) {
        return nullptr;
    }
    // Inside a Load: part of the running outermost read.
    if (!m_loading.empty()) {
        Object* object = ReadReference(accepts, reference);
        if (object != nullptr && reference == Reference::Plain) {
            m_plainLinks.push_back(object);
        }
        return object;
    }
    const std::size_t firstCreated = m_read.size();
    Object* result = nullptr;
    try {
        result = ReadReference(accepts, reference);
    } catch (...) {
        SetFailed();
        FinishOutermostRead(firstCreated, nullptr);
        throw;
    }
    return FinishOutermostRead(firstCreated, result);
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
        if (m_unknownClass.empty()) {
            m_unknownClass = name;
        }
        return nullptr;
    }
    m_read.emplace_back(object);
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

Object* File::FinishOutermostRead(std::size_t firstCreated, Object* result) {
    // The stream's own reference is the 1: a plain link to an object that
    // nothing else holds would dangle once the stream lets go.
    for (const Object* linked : m_plainLinks) {
        if (linked != result && linked->GetReferenceCount() < 2) {
            SetFailed();
        }
    }
    m_plainLinks.clear();
    if (!m_failed) {
        return result;
    }
    // Nothing is read after a failure, and entries may name objects about to go.
    m_readObjects.clear();
    std::vector<RefPtr<Object>> created(std::make_move_iterator(m_read.begin() + static_cast<std::ptrdiff_t>(firstCreated)),
                                        std::make_move_iterator(m_read.end()));
    m_read.resize(firstCreated);
    return nullptr;  // created lets go of them here
}

void File::ResetObjectTables() {
    m_lastWrittenId = 0;
    m_writtenIds.clear();
    ReleaseAll(m_written);
    m_readObjects.clear();
    ReleaseAll(m_read);
    m_unknownClass.clear();
}

}  // namespace Core
