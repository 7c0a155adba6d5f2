#include "office/opc_package.h"

#include <algorithm>

namespace faultward::office {
namespace {

bool isNameChar(char c) {
    return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '/' && c != '>' && c != '=';
}

std::string decoded(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '&') {
            static const std::pair<std::string_view, char> entities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
            bool matched = false;
            for (const auto& [entity, c] : entities) {
                if (value.substr(i, entity.size()) == entity) {
                    out.push_back(c);
                    i += entity.size() - 1;
                    matched = true;
                    break;
                }
            }
            if (matched) {
                continue;
            }
        }
        out.push_back(value[i]);
    }
    return out;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view withoutSlash(std::string_view part) {
    return !part.empty() && part.front() == '/' ? part.substr(1) : part;
}

} // namespace

std::vector<XmlElement> findXmlElements(std::string_view xml, std::string_view localName) {
    std::vector<XmlElement> found;
    std::size_t at = 0;
    while ((at = xml.find('<', at)) != std::string_view::npos) {
        const std::size_t begin = at;
        std::size_t nameEnd = begin + 1;
        while (nameEnd < xml.size() && isNameChar(xml[nameEnd])) {
            ++nameEnd;
        }
        std::string_view name = xml.substr(begin + 1, nameEnd - begin - 1);
        if (const std::size_t colon = name.find(':'); colon != std::string_view::npos) {
            name = name.substr(colon + 1);
        }
        // The element's end: the first '>' outside a quoted value.
        std::size_t end = nameEnd;
        char quote = 0;
        while (end < xml.size() && (quote != 0 || xml[end] != '>')) {
            if (quote == 0 && (xml[end] == '"' || xml[end] == '\'')) {
                quote = xml[end];
            } else if (quote != 0 && xml[end] == quote) {
                quote = 0;
            }
            ++end;
        }
        if (end >= xml.size()) {
            break;
        }
        at = end + 1;
        if (name != localName) {
            continue;
        }
        XmlElement element{begin, end + 1, {}};
        std::size_t p = nameEnd;
        while (p < end) {
            while (p < end && !isNameChar(xml[p])) {
                ++p;
            }
            const std::size_t keyStart = p;
            while (p < end && isNameChar(xml[p])) {
                ++p;
            }
            const std::string_view key = xml.substr(keyStart, p - keyStart);
            while (p < end &&
                   (xml[p] == ' ' || xml[p] == '\t' || xml[p] == '\r' || xml[p] == '\n')) {
                ++p;
            }
            if (p >= end || xml[p] != '=') {
                continue;
            }
            ++p;
            while (p < end &&
                   (xml[p] == ' ' || xml[p] == '\t' || xml[p] == '\r' || xml[p] == '\n')) {
                ++p;
            }
            if (p >= end || (xml[p] != '"' && xml[p] != '\'')) {
                continue;
            }
            const char q = xml[p];
            const std::size_t valueEnd = xml.find(q, p + 1);
            if (valueEnd == std::string_view::npos || valueEnd > end) {
                break;
            }
            element.attributes[std::string(key)] = decoded(xml.substr(p + 1, valueEnd - p - 1));
            p = valueEnd + 1;
        }
        found.push_back(std::move(element));
    }
    return found;
}

std::string withoutXmlElements(std::string_view xml, const std::vector<XmlElement>& elements) {
    std::vector<XmlElement> sorted = elements;
    std::sort(sorted.begin(), sorted.end(),
              [](const XmlElement& a, const XmlElement& b) { return a.begin < b.begin; });
    std::string out;
    std::size_t copied = 0;
    for (const auto& e : sorted) {
        out.append(xml.substr(copied, e.begin - copied));
        copied = e.end;
    }
    out.append(xml.substr(copied));
    return out;
}

const ZipEntry* entryOfPart(const ZipArchive& archive, std::string_view partName) {
    const std::string_view name = withoutSlash(partName);
    for (const auto& e : archive.entries) {
        if (sameIgnoringCase(e.name, name)) {
            return &e;
        }
    }
    return nullptr;
}

std::vector<std::string> partsOfContentType(const ZipArchive& archive,
                                            std::string_view contentTypes,
                                            const std::vector<std::string_view>& types) {
    auto wanted = [&](const std::string& type) {
        return std::any_of(types.begin(), types.end(),
                           [&](std::string_view t) { return sameIgnoringCase(t, type); });
    };
    std::vector<std::string> parts;
    std::vector<std::string> overridden;
    for (const auto& o : findXmlElements(contentTypes, "Override")) {
        const auto name = o.attributes.find("PartName");
        const auto type = o.attributes.find("ContentType");
        if (name == o.attributes.end() || type == o.attributes.end()) {
            continue;
        }
        const ZipEntry* entry = entryOfPart(archive, name->second);
        if (entry == nullptr) {
            continue;
        }
        overridden.push_back(entry->name);
        if (wanted(type->second)) {
            parts.push_back(entry->name);
        }
    }
    for (const auto& d : findXmlElements(contentTypes, "Default")) {
        const auto extension = d.attributes.find("Extension");
        const auto type = d.attributes.find("ContentType");
        if (extension == d.attributes.end() || type == d.attributes.end() ||
            !wanted(type->second)) {
            continue;
        }
        for (const auto& e : archive.entries) {
            const std::size_t dot = e.name.rfind('.');
            if (dot != std::string::npos &&
                sameIgnoringCase(std::string_view(e.name).substr(dot + 1), extension->second) &&
                std::find(overridden.begin(), overridden.end(), e.name) == overridden.end()) {
                parts.push_back(e.name);
            }
        }
    }
    return parts;
}

std::string relationshipsPartOf(std::string_view partName) {
    const std::string_view name = withoutSlash(partName);
    const std::size_t slash = name.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? "" : name.substr(0, slash + 1);
    const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
    return std::string(folder) + "_rels/" + std::string(file) + ".rels";
}

std::string resolveTarget(std::string_view sourcePart, std::string_view target) {
    std::vector<std::string> segments;
    auto push = [&](std::string_view path) {
        std::size_t at = 0;
        while (at <= path.size()) {
            std::size_t slash = path.find('/', at);
            if (slash == std::string_view::npos) {
                slash = path.size();
            }
            const std::string_view segment = path.substr(at, slash - at);
            if (segment == "..") {
                if (!segments.empty()) {
                    segments.pop_back();
                }
            } else if (!segment.empty() && segment != ".") {
                segments.emplace_back(segment);
            }
            at = slash + 1;
        }
    };
    if (target.empty() || target.front() != '/') {
        const std::string_view source = withoutSlash(sourcePart);
        const std::size_t slash = source.rfind('/');
        if (slash != std::string_view::npos) {
            push(source.substr(0, slash));
        }
    }
    push(target);
    std::string out;
    for (const auto& s : segments) {
        out += (out.empty() ? "" : "/") + s;
    }
    return out;
}

} // namespace faultward::office
