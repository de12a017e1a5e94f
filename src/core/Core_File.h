#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "os/OS_ByteOrder.h"

#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Core {

// An abstract byte stream through which objects save and load themselves.
// Every stored value is a fixed-width little-endian field, written one field
// at a time through the typed helpers below (never a whole struct, size_t,
// long or wchar_t), so that stored data is the same on every machine.
//
// Strings are a u32 length and the bytes, without terminator. An object
// reference is a flag byte (0 = null), the class name as a string and a u32
// id (1, 2, 3, ... per stream); the object's own fields follow only at its
// first reference, so shared objects and cycles are stored once and come
// back as one object.
//
// Object tables. Ids stand until the tables are reset: by ResetObjectTables,
// a memory file's ClearBuffer, a disk file's Close or (re)Open, or the end of
// the stream. What is written between two resets (a snapshot, a packet, a
// save) reads back alone from a stream reset the same way. While an id stands, the stream holds a reference to its object, so
// that an id never names a destroyed object (nor, when writing, an object
// that took a destroyed one's address). An object that nobody holds when it
// is written (count 0, such as one on the stack) cannot be kept: it is known
// only while its own Save runs, and stored again in full when met later.
//
// Reading objects back. A read object is held by the stream (count 1) until
// the reset; the caller takes its own reference, usually by reading straight
// into a RefPtr:
//
//     void Sprite::Load(Core::File& file) {
//         file >> m_animation;  // RefPtr<Engine::SpriteAnimation>: owning
//         file >> m_parent;     // Engine::Node*: a plain back-pointer
//     }
//     Core::RefPtr<Level> level = file.ReadObjectAs<Level>();
//
// A plain link read inside a Load must name an object that something other
// than the stream holds when the outermost read ends (or the object that
// read returns): a plain link to an object nothing owns would dangle after
// the reset, so it fails the read. Write owners before the objects that
// point into what they own. Typed reads are checked: a reference to an
// object of another class gives null and fails the stream. An owning read
// (into a RefPtr) of an object whose own fields are still being read fails
// too: that reference cycle would never be freed. Back edges of a cycle are
// plain pointers. A reference the reader keeps counted is an owning read even
// where another object owns what it names (a link to another object of a
// level): taken as a plain link and then counted, it could close that cycle.
//
// Failure. A read past the end, malformed data or a write error sets the
// failed flag, which stays set until a memory file's ClearBuffer or a disk
// file's Open starts over: later reads and writes do nothing and every read
// target is left unchanged. A failed outermost read gives null and lets go
// of the objects it created; objects of earlier reads stay held until the
// reset. Load code that loops over a stored count stops once HasFailed() is
// true; Load code that finds a value it cannot accept calls SetFailed().
//
// A stream is used by one thread at a time; it takes no lock.
class File {
public:
    // How many objects' Save, or Load, may run inside one another: a deeper
    // graph fails the stream instead of overflowing the call stack.
    static constexpr std::uint32_t kMaxObjectDepth = 256;

    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    virtual ~File() = default;

    // Both do nothing once the stream has failed. A Read that cannot deliver
    // all count bytes copies none of them and fails the stream.
    virtual void Write(const void* bytes, std::uint32_t count) = 0;
    virtual void Read(void* bytes, std::uint32_t count) = 0;

    // Typed fields. A read that fails leaves the target unchanged.
    void WriteU8(std::uint8_t value) { Write(&value, 1); }
    void WriteU32(std::uint32_t value) {
        std::uint8_t bytes[4];
        os::StoreU32LE(bytes, value);
        Write(bytes, 4);
    }
    void WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }
    void WriteF32(float value) { WriteU32(std::bit_cast<std::uint32_t>(value)); }
    // Eight bytes, low word first.
    void WriteF64(double value) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        WriteU32(static_cast<std::uint32_t>(bits));
        WriteU32(static_cast<std::uint32_t>(bits >> 32));
    }

    void ReadU8(std::uint8_t& value) { Read(&value, 1); }
    // A byte, any value but 0 reading as true; a failed read leaves value as it was.
    void ReadBool(bool& value) {
        std::uint8_t byte = value ? 1 : 0;
        ReadU8(byte);
        value = byte != 0;
    }
    // The same as a value: false when the read fails.
    bool ReadFlag() {
        bool value = false;
        ReadBool(value);
        return value;
    }
    void ReadU32(std::uint32_t& value) {
        // Filled from the target first, so that a failed read leaves it as it was.
        std::uint8_t bytes[4];
        os::StoreU32LE(bytes, value);
        Read(bytes, 4);
        value = os::LoadU32LE(bytes);
    }
    void ReadI32(std::int32_t& value) {
        auto bits = static_cast<std::uint32_t>(value);
        ReadU32(bits);
        value = static_cast<std::int32_t>(bits);
    }
    void ReadF32(float& value) {
        auto bits = std::bit_cast<std::uint32_t>(value);
        ReadU32(bits);
        value = std::bit_cast<float>(bits);
    }
    void ReadF64(double& value) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        auto low = static_cast<std::uint32_t>(bits);
        auto high = static_cast<std::uint32_t>(bits >> 32);
        ReadU32(low);
        ReadU32(high);
        value = std::bit_cast<double>(static_cast<std::uint64_t>(high) << 32 | low);
    }

    // A u32 length and the bytes. Texts longer than a u32 fail the stream.
    void WriteString(std::string_view text);
    // A stored length of 0 leaves the target unchanged; otherwise the text
    // ends at the first zero byte. The bytes are taken in bounded pieces, so
    // a hostile length fails when the data runs out instead of allocating.
    void ReadString(String& text);

    // Writes a reference to the object (null allowed), with its fields when
    // this stream meets it for the first time.
    void WriteObject(const Object* object);
    // How the reader will hold a reference it reads.
    enum class Reference : std::uint8_t { Plain, Owning };

    // Reads a reference written by WriteObject: null for a null reference,
    // an unregistered class or a failed stream. An unregistered class keeps
    // its id but leaves its fields unread, so a caller that expected an
    // object treats null as a failed load.
    Object* ReadObject() { return ReadCheckedObject(nullptr, Reference::Plain); }
    // As ReadObject, but an object that is not a T fails the stream and gives
    // null. An owning read also refuses an object whose fields are being read.
    template <class T>
    T* ReadObjectAs(Reference reference = Reference::Plain) {
        return dynamic_cast<T*>(ReadCheckedObject(&IsA<T>, reference));
    }

    // The first class name read since the tables were reset that no class
    // is registered under; empty when there was none. Tells a reader why an
    // object it expected came back null.
    const String& GetUnknownClass() const { return m_unknownClass; }

    bool HasFailed() const { return m_failed; }
    void SetFailed() { m_failed = true; }

    // Restarts ids at 1 for writing and reading and lets go of every object
    // the stream holds.
    void ResetObjectTables();

protected:
    // Lets a stream start over on new bytes.
    void ClearFailed() { m_failed = false; }

private:
    using ObjectTest = bool (*)(const Object*);

    template <class T>
    static bool IsA(const Object* object) {
        return dynamic_cast<const T*>(object) != nullptr;
    }

    Object* ReadCheckedObject(ObjectTest accepts, Reference reference);
    Object* ReadReference(ObjectTest accepts, Reference reference);
    bool Refuses(const Object* object, ObjectTest accepts, Reference reference) const;
    Object* FinishOutermostRead(std::size_t firstCreated, Object* result);

    bool m_failed = false;

    std::uint32_t m_lastWrittenId = 0;
    // Objects whose Save is running.
    std::uint32_t m_writeDepth = 0;
    std::unordered_map<const Object*, std::uint32_t> m_writtenIds;
    // The written objects that had a holder, held while their ids stand.
    std::vector<RefPtr<Object>> m_written;

    std::unordered_map<std::uint32_t, Object*> m_readObjects;
    // Every object read since the reset, in creation order.
    std::vector<RefPtr<Object>> m_read;
    // Objects whose Load is running, innermost last.
    std::vector<Object*> m_loading;
    // Objects handed out by plain links during the running outermost read.
    std::vector<Object*> m_plainLinks;
    String m_unknownClass;
};

inline File& operator<<(File& file, const Object* object) {
    file.WriteObject(object);
    return file;
}

template <class T>
File& operator<<(File& file, const RefPtr<T>& object) {
    file.WriteObject(object.Get());
    return file;
}

// A plain (non-owning) pointer: stores the object read, or null, without
// adding a reference. Checked: an object of another class fails the stream.
template <std::derived_from<Object> T>
File& operator>>(File& file, T*& object) {
    object = file.ReadObjectAs<T>();
    return file;
}

// An owning reference: takes the object read, or null.
template <class T>
File& operator>>(File& file, RefPtr<T>& object) {
    object = file.ReadObjectAs<T>(File::Reference::Owning);
    return file;
}

inline File& operator<<(File& file, const String& text) {
    file.WriteString(text);
    return file;
}

inline File& operator>>(File& file, String& text) {
    file.ReadString(text);
    return file;
}

}  // namespace Core
