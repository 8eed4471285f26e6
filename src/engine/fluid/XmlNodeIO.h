// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads and writes single child elements of an XML element on pugixml, one
// value per element held as the element's text. Every read and every write
// sets its status code afresh, so a caller can look at the outcome of the
// last operation. A failed read leaves the caller's value as it was (a
// boolean falls back to false).

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace dvx {

class XmlNodeIO {
public:
    // Outcome of the last read.
    enum : int {
        rsRead = 0,            // read and converted
        rsMissing = 2,         // no such child element
        rsNotConvertible = 3,  // the text is not a value of the asked kind
        rsNoParent = 4,        // the parent element is missing
        rsReadError = 5,       // reading the node failed
    };
    // Outcome of the last write.
    enum : int {
        wsWritten = 0,       // written
        wsSetTextError = 1,  // the element or its text could not be set
        wsNoParent = 2,      // the parent element is missing
    };

    int ReadStatus = rsRead;
    int WriteStatus = wsWritten;

    // The first child element called name, or an empty node.
    static pugi::xml_node FindChild(pugi::xml_node parent, std::string_view name);
    // The first child element called name, appended at the end when there
    // is none; sets WriteStatus (empty node on failure).
    pugi::xml_node FindOrAddChild(pugi::xml_node parent, std::string_view name);

    // Each returns true when the value was read (ReadStatus 0).
    bool ReadString(pugi::xml_node parent, std::string_view name, std::string& value);
    bool ReadFloat(pugi::xml_node parent, std::string_view name, double& value);
    // Decimal (or hexadecimal) integer within [min, max]; a value outside
    // counts as not convertible.
    bool ReadInteger(pugi::xml_node parent, std::string_view name, std::int64_t& value,
                     std::int64_t min, std::int64_t max);
    // "true", "T", "Yes" → true; "false", "F", "No" → false, whatever the
    // case. Any failure sets value to false.
    bool ReadBoolean(pugi::xml_node parent, std::string_view name, bool& value);

    // Each writes the text of the child element name (reused when present,
    // appended otherwise) and returns that element (empty on failure).
    pugi::xml_node WriteString(pugi::xml_node parent, std::string_view name,
                               const std::string& value);
    // value formatted with a printf-style format held as data ("%0.3f").
    pugi::xml_node WriteFloat(pugi::xml_node parent, std::string_view name,
                              std::string_view format, double value);
    pugi::xml_node WriteInteger(pugi::xml_node parent, std::string_view name, std::int64_t value);
    pugi::xml_node WriteBoolean(pugi::xml_node parent, std::string_view name, bool value);
    // Sets (or replaces) an attribute of an element written before.
    bool WriteAttribute(pugi::xml_node element, std::string_view name, const std::string& value);

private:
    // The text of the child element, or nothing with ReadStatus set.
    bool ReadText(pugi::xml_node parent, std::string_view name, std::string& text);
};

} // namespace dvx
