// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/XmlNodeIO.h"

#include "base/Format.h"
#include "base/Numbers.h"

#include <algorithm>
#include <cctype>

namespace dvx {

namespace {

bool IsElementParent(pugi::xml_node node) {
    return node.type() == pugi::node_element || node.type() == pugi::node_document;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

pugi::xml_node XmlNodeIO::FindChild(pugi::xml_node parent, std::string_view name) {
    for (pugi::xml_node child : parent.children())
        if (child.type() == pugi::node_element && name == child.name()) return child;
    return {};
}

pugi::xml_node XmlNodeIO::FindOrAddChild(pugi::xml_node parent, std::string_view name) {
    if (!parent || !IsElementParent(parent)) {
        WriteStatus = wsNoParent;
        return {};
    }
    pugi::xml_node child = FindChild(parent, name);
    if (!child) child = parent.append_child(std::string(name).c_str());
    WriteStatus = child ? wsWritten : wsSetTextError;
    return child;
}

bool XmlNodeIO::ReadText(pugi::xml_node parent, std::string_view name, std::string& text) {
    if (!parent || !IsElementParent(parent)) {
        ReadStatus = rsNoParent;
        return false;
    }
    try {
        pugi::xml_node child = FindChild(parent, name);
        if (!child) {
            ReadStatus = rsMissing;
            return false;
        }
        text = child.text().get();
    } catch (const std::exception&) {
        ReadStatus = rsReadError;
        return false;
    }
    ReadStatus = rsRead;
    return true;
}

bool XmlNodeIO::ReadString(pugi::xml_node parent, std::string_view name, std::string& value) {
    std::string text;
    if (!ReadText(parent, name, text)) return false;
    value = std::move(text);
    return true;
}

bool XmlNodeIO::ReadFloat(pugi::xml_node parent, std::string_view name, double& value) {
    std::string text;
    if (!ReadText(parent, name, text)) return false;
    auto number = TryStrToFloat(text);
    if (!number) {
        ReadStatus = rsNotConvertible;
        return false;
    }
    value = *number;
    return true;
}

bool XmlNodeIO::ReadInteger(pugi::xml_node parent, std::string_view name, std::int64_t& value,
                            std::int64_t min, std::int64_t max) {
    std::string text;
    if (!ReadText(parent, name, text)) return false;
    auto number = TryStrToInt(text);
    if (!number || *number < min || *number > max) {
        ReadStatus = rsNotConvertible;
        return false;
    }
    value = *number;
    return true;
}

bool XmlNodeIO::ReadBoolean(pugi::xml_node parent, std::string_view name, bool& value) {
    std::string text;
    value = false;
    if (!ReadText(parent, name, text)) return false;
    const std::string_view word = TrimBlanks(text);
    for (const char* yes : {"true", "T", "Yes"})
        if (SameTextIgnoringCase(word, yes)) {
            value = true;
            return true;
        }
    for (const char* no : {"false", "F", "No"})
        if (SameTextIgnoringCase(word, no)) return true;
    ReadStatus = rsNotConvertible;
    return false;
}

pugi::xml_node XmlNodeIO::WriteString(pugi::xml_node parent, std::string_view name,
                                      const std::string& value) {
    pugi::xml_node child = FindOrAddChild(parent, name);
    if (!child) return {};
    if (!child.text().set(value.c_str())) {
        WriteStatus = wsSetTextError;
        return {};
    }
    WriteStatus = wsWritten;
    return child;
}

pugi::xml_node XmlNodeIO::WriteFloat(pugi::xml_node parent, std::string_view name,
                                     std::string_view format, double value) {
    return WriteString(parent, name, FormatFloat(format, value));
}

pugi::xml_node XmlNodeIO::WriteInteger(pugi::xml_node parent, std::string_view name,
                                       std::int64_t value) {
    return WriteString(parent, name, Format("%d", {FmtArg(static_cast<long long>(value))}));
}

pugi::xml_node XmlNodeIO::WriteBoolean(pugi::xml_node parent, std::string_view name, bool value) {
    return WriteString(parent, name, value ? "true" : "false");
}

bool XmlNodeIO::WriteAttribute(pugi::xml_node element, std::string_view name,
                               const std::string& value) {
    if (!element || element.type() != pugi::node_element) {
        WriteStatus = wsNoParent;
        return false;
    }
    const std::string key(name);
    pugi::xml_attribute attribute = element.attribute(key.c_str());
    if (!attribute) attribute = element.append_attribute(key.c_str());
    WriteStatus = (attribute && attribute.set_value(value.c_str())) ? wsWritten : wsSetTextError;
    return WriteStatus == wsWritten;
}

} // namespace dvx
