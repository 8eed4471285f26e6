// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The value reader and writer through which objects put themselves into a
// project stream. The project file implements them with its tagged encoding;
// the objects only say which kind of value comes next.

#include <cstdint>
#include <string>

namespace dvx {

class TStreamReader {
public:
    virtual ~TStreamReader() = default;
    virtual double ReadFloat() = 0;          // a floating-point value
    virtual std::int64_t ReadInteger() = 0;  // an integer value
    virtual std::string ReadString() = 0;    // a text, UTF-8
    virtual bool ReadBoolean() = 0;          // a boolean value
};

class TStreamWriter {
public:
    virtual ~TStreamWriter() = default;
    virtual void WriteFloat(double value) = 0;
    virtual void WriteInteger(std::int64_t value) = 0;
    virtual void WriteString(const std::string& value) = 0; // UTF-8
    virtual void WriteBoolean(bool value) = 0;
};

} // namespace dvx
