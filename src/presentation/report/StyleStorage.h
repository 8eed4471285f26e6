// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small slice of the settings store the report styles need: named text
// and integer values inside a section. The program's settings store is
// adapted to it (SettingsStyleStorage.h); tests use an in-memory one.

#include <string>
#include <string_view>

namespace dvx {

class TStyleStorage {
public:
    virtual ~TStyleStorage() = default;

    // A missing key or section gives `def`.
    virtual std::string ReadText(std::string_view section, std::string_view key,
                                 std::string_view def) = 0;
    virtual int ReadInt(std::string_view section, std::string_view key, int def) = 0;

    // Writing creates the section when it does not exist.
    virtual void WriteText(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
    virtual void WriteInt(std::string_view section, std::string_view key, int value) = 0;
    // Ends a group of writes (a store may keep them until then).
    virtual void Flush() {}
};

} // namespace dvx
