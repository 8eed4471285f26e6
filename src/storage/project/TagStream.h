// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tagged-value stream of project files: every value is a one-byte tag
// and its payload; component records use untagged short names. The writer
// collects the bytes in memory; the reader works on a byte buffer and checks
// every length against what is left, so that a damaged file fails with a
// read error instead of reading past its end or allocating without bound.

#include "engine/fluid/StreamIO.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

// Value tags.
enum TValueTag : std::uint8_t {
    vaNull = 0x00,      // end of list
    vaList = 0x01,      // values follow until vaNull
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaExtended = 0x05,  // 80-bit extended float
    vaString = 0x06,    // 1-byte length, 8-bit text
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaLString = 0x0C,   // 4-byte length, 8-bit text
    vaDate = 0x11,      // double: days since 30 December 1899
    vaWString = 0x12,   // 4-byte count of UTF-16 code units (read only)
    vaInt64 = 0x13,     // read only
    vaUtf8String = 0x14,// 4-byte byte length, UTF-8
    vaDouble = 0x15,    // read only
};

// The four-byte signature "TPF0" that opens every project file.
inline constexpr std::string_view kStreamSignature = "TPF0";

class TTagWriter final : public TStreamWriter {
public:
    // The smallest of int8, int16 or int32 that holds the value; a value
    // beyond 32 bits raises FileError (the format writes no wider integer).
    void WriteInteger(std::int64_t value) override;
    // Always the 80-bit extended form.
    void WriteFloat(double value) override;
    // Plain ASCII as vaString (up to 255 bytes) or vaLString, anything else
    // as vaUtf8String.
    void WriteString(const std::string& value) override;
    void WriteBoolean(bool value) override;
    void WriteDate(double days);
    void WriteListBegin() { Put(vaList); }
    void WriteListEnd() { Put(vaNull); }
    // Untagged: a 1-byte length and the bytes (at most 255).
    void WriteShortName(std::string_view name);
    void WriteSignature();
    void WriteRawByte(std::uint8_t byte) { Put(byte); }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }
    void Reserve(std::size_t n) { bytes_.reserve(n); }

private:
    void Put(std::uint8_t byte) { bytes_.push_back(byte); }
    void PutLE(std::uint64_t value, int count);
    void PutBytes(std::string_view bytes);

    std::vector<std::uint8_t> bytes_;
};

// Every read error is a FileError whose message says what was wrong and at
// which byte offset.
class TTagReader final : public TStreamReader {
public:
    explicit TTagReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // vaInt8, vaInt16, vaInt32.
    std::int64_t ReadInteger() override;
    // vaExtended, vaDouble or any integer tag including vaInt64.
    double ReadFloat() override;
    // vaString and vaLString (Windows-1252), vaWString and vaUtf8String;
    // the result is UTF-8.
    std::string ReadString() override;
    // vaTrue is true; any other tag is false. Only the tag is consumed.
    bool ReadBoolean() override;
    // vaDate or any integer tag including vaInt64.
    double ReadDate();
    void ReadListBegin();
    // At vaNull: consumes it and returns true. Otherwise consumes nothing.
    bool EndOfList();
    void ReadListEnd();
    std::string ReadShortName();
    void ReadSignature();
    std::uint8_t ReadRawByte();

    std::size_t Position() const { return pos_; }
    // Back to an earlier position (used to read a value a second time).
    void Seek(std::size_t position);
    std::size_t Remaining() const { return bytes_.size() - pos_; }

private:
    std::uint8_t ReadTag();
    std::uint64_t ReadLE(int count);
    std::span<const std::uint8_t> Take(std::uint64_t count);
    [[noreturn]] void Fail(std::string_view what) const;
    [[noreturn]] void UnexpectedTag(std::uint8_t tag, std::string_view expected) const;
    // Reads the payload of an integer tag; false when the tag is not one.
    bool ReadIntegerPayload(std::uint8_t tag, bool allowInt64, std::int64_t& out);

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

} // namespace dvx
