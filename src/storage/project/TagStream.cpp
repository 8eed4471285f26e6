// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/TagStream.h"

#include "base/BitCast.h"
#include "base/Errors.h"
#include "base/Format.h"
#include "storage/project/ExtendedFloat.h"
#include "storage/project/TextCodec.h"

#include <bit>
#include <limits>

namespace dvx {

// ---- writer ----------------------------------------------------------------

void TTagWriter::PutLE(std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) Put(static_cast<std::uint8_t>(value >> (8 * i)));
}

void TTagWriter::PutBytes(std::string_view bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void TTagWriter::WriteInteger(std::int64_t value) {
    if (value >= -128 && value <= 127) {
        Put(vaInt8);
        PutLE(static_cast<std::uint64_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        Put(vaInt16);
        PutLE(static_cast<std::uint64_t>(value), 2);
    } else if (value >= std::numeric_limits<std::int32_t>::min() &&
               value <= std::numeric_limits<std::int32_t>::max()) {
        Put(vaInt32);
        PutLE(static_cast<std::uint64_t>(value), 4);
    } else {
        throw FileError(Format("Integer %d does not fit a project file", {static_cast<long long>(value)}));
    }
}

void TTagWriter::WriteFloat(double value) {
    Put(vaExtended);
    const Extended80 ext = DoubleToExtended(value);
    bytes_.insert(bytes_.end(), ext.begin(), ext.end());
}

void TTagWriter::WriteString(const std::string& value) {
    if (!IsPlainAscii(value)) {
        if (value.size() > std::numeric_limits<std::uint32_t>::max())
            throw FileError("Text too long for a project file");
        Put(vaUtf8String);
        PutLE(value.size(), 4);
    } else if (value.size() <= 255) {
        Put(vaString);
        Put(static_cast<std::uint8_t>(value.size()));
    } else {
        if (value.size() > std::numeric_limits<std::uint32_t>::max())
            throw FileError("Text too long for a project file");
        Put(vaLString);
        PutLE(value.size(), 4);
    }
    PutBytes(value);
}

void TTagWriter::WriteBoolean(bool value) { Put(value ? vaTrue : vaFalse); }

void TTagWriter::WriteDate(double days) {
    Put(vaDate);
    PutLE(BitCast<std::uint64_t>(days), 8);
}

void TTagWriter::WriteShortName(std::string_view name) {
    if (name.size() > 255) throw FileError("Name too long for a project file");
    Put(static_cast<std::uint8_t>(name.size()));
    PutBytes(name);
}

void TTagWriter::WriteSignature() { PutBytes(kStreamSignature); }

// ---- reader ----------------------------------------------------------------

namespace {

std::string TagText(std::uint8_t tag) { return Format("0x%02x", {static_cast<int>(tag)}); }

} // namespace

void TTagReader::Fail(std::string_view what) const {
    throw FileError(Format("%s at offset %d", {what, static_cast<long long>(pos_)}));
}

void TTagReader::UnexpectedTag(std::uint8_t tag, std::string_view expected) const {
    throw FileError(Format("Unexpected tag %s at offset %d where %s was expected",
                           {TagText(tag), static_cast<long long>(pos_ - 1), expected}));
}

std::span<const std::uint8_t> TTagReader::Take(std::uint64_t count) {
    if (count > Remaining()) Fail("Premature end of file");
    auto out = bytes_.subspan(pos_, static_cast<std::size_t>(count));
    pos_ += static_cast<std::size_t>(count);
    return out;
}

std::uint64_t TTagReader::ReadLE(int count) {
    const auto b = Take(static_cast<std::uint64_t>(count));
    std::uint64_t v = 0;
    for (int i = 0; i < count; ++i) v |= std::uint64_t{b[i]} << (8 * i);
    return v;
}

std::uint8_t TTagReader::ReadTag() {
    if (Remaining() == 0) Fail("Premature end of file");
    return bytes_[pos_++];
}

std::uint8_t TTagReader::ReadRawByte() { return ReadTag(); }

void TTagReader::Seek(std::size_t position) {
    if (position > bytes_.size()) Fail("Seek past the end of the file");
    pos_ = position;
}

bool TTagReader::ReadIntegerPayload(std::uint8_t tag, bool allowInt64, std::int64_t& out) {
    switch (tag) {
    case vaInt8: out = static_cast<std::int8_t>(ReadLE(1)); return true;
    case vaInt16: out = static_cast<std::int16_t>(ReadLE(2)); return true;
    case vaInt32: out = static_cast<std::int32_t>(ReadLE(4)); return true;
    case vaInt64:
        if (!allowInt64) return false;
        out = static_cast<std::int64_t>(ReadLE(8));
        return true;
    default: return false;
    }
}

std::int64_t TTagReader::ReadInteger() {
    const std::uint8_t tag = ReadTag();
    std::int64_t v = 0;
    if (!ReadIntegerPayload(tag, false, v)) UnexpectedTag(tag, "an integer");
    return v;
}

double TTagReader::ReadFloat() {
    const std::uint8_t tag = ReadTag();
    if (tag == vaExtended) {
        Extended80 ext{};
        const auto b = Take(ext.size());
        std::copy(b.begin(), b.end(), ext.begin());
        return ExtendedToDouble(ext);
    }
    if (tag == vaDouble) return BitCast<double>(ReadLE(8));
    std::int64_t v = 0;
    if (!ReadIntegerPayload(tag, true, v)) UnexpectedTag(tag, "a number");
    return static_cast<double>(v);
}

double TTagReader::ReadDate() {
    const std::uint8_t tag = ReadTag();
    if (tag == vaDate) return BitCast<double>(ReadLE(8));
    std::int64_t v = 0;
    if (!ReadIntegerPayload(tag, true, v)) UnexpectedTag(tag, "a date");
    return static_cast<double>(v);
}

std::string TTagReader::ReadString() {
    const std::uint8_t tag = ReadTag();
    switch (tag) {
    case vaString: {
        const auto b = Take(ReadLE(1));
        return Cp1252ToUtf8({reinterpret_cast<const char*>(b.data()), b.size()});
    }
    case vaLString: {
        const auto b = Take(ReadLE(4));
        return Cp1252ToUtf8({reinterpret_cast<const char*>(b.data()), b.size()});
    }
    case vaWString: {
        const std::uint64_t units = ReadLE(4);
        return Utf16LeToUtf8(Take(units * 2));
    }
    case vaUtf8String: {
        const auto b = Take(ReadLE(4));
        return SanitiseUtf8({reinterpret_cast<const char*>(b.data()), b.size()});
    }
    default: UnexpectedTag(tag, "a string");
    }
}

bool TTagReader::ReadBoolean() { return ReadTag() == vaTrue; }

void TTagReader::ReadListBegin() {
    const std::uint8_t tag = ReadTag();
    if (tag != vaList) UnexpectedTag(tag, "a list");
}

bool TTagReader::EndOfList() {
    if (Remaining() == 0) Fail("Premature end of file");
    if (bytes_[pos_] != vaNull) return false;
    ++pos_;
    return true;
}

void TTagReader::ReadListEnd() {
    const std::uint8_t tag = ReadTag();
    if (tag != vaNull) UnexpectedTag(tag, "the end of a list");
}

std::string TTagReader::ReadShortName() {
    const auto b = Take(ReadLE(1));
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

void TTagReader::ReadSignature() {
    const auto b = Take(kStreamSignature.size());
    if (std::string_view(reinterpret_cast<const char*>(b.data()), b.size()) != kStreamSignature) {
        pos_ = 0;
        Fail("Not a project file (no \"TPF0\" signature)");
    }
}

} // namespace dvx
