#include "office/vba_project_stream.h"

#include <vector>

#include "office/format_error.h"

namespace faultward::office {
namespace {

std::optional<std::vector<unsigned char>> fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    };
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]);
        const int low = digit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view unquoted(std::string_view s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') {
        return s.substr(1, s.size() - 2);
    }
    return s;
}

} // namespace

std::optional<std::string> decryptProjectValue(std::string_view hex) {
    const auto bytes = fromHex(hex);
    if (!bytes || bytes->size() < 3) {
        return std::nullopt;
    }
    const unsigned char seed = (*bytes)[0];
    const unsigned char versionEnc = (*bytes)[1];
    const unsigned char projKeyEnc = (*bytes)[2];
    if ((seed ^ versionEnc) != 2) {
        return std::nullopt;
    }
    unsigned char unencrypted1 = seed ^ projKeyEnc;
    unsigned char encrypted1 = projKeyEnc;
    unsigned char encrypted2 = versionEnc;
    std::size_t at = 3;
    auto next = [&](unsigned char& plain) {
        if (at >= bytes->size()) {
            return false;
        }
        const unsigned char enc = (*bytes)[at++];
        plain =
            static_cast<unsigned char>(enc ^ static_cast<unsigned char>(encrypted2 + unencrypted1));
        encrypted2 = encrypted1;
        encrypted1 = enc;
        unencrypted1 = plain;
        return true;
    };
    unsigned char b = 0;
    for (int i = 0; i < (seed & 6) / 2; ++i) {
        if (!next(b)) {
            return std::nullopt;
        }
    }
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        if (!next(b)) {
            return std::nullopt;
        }
        length |= static_cast<std::uint32_t>(b) << (8 * i);
    }
    if (length != bytes->size() - at) {
        return std::nullopt;
    }
    std::string data;
    while (next(b)) {
        data.push_back(static_cast<char>(b));
    }
    return data;
}

std::string encryptProjectValue(std::string_view data, unsigned char seed,
                                unsigned char projectKey) {
    std::vector<unsigned char> out;
    const unsigned char versionEnc = seed ^ 2;
    const unsigned char projKeyEnc = seed ^ projectKey;
    out = {seed, versionEnc, projKeyEnc};
    unsigned char unencrypted1 = projectKey;
    unsigned char encrypted1 = projKeyEnc;
    unsigned char encrypted2 = versionEnc;
    auto put = [&](unsigned char plain) {
        const unsigned char enc = static_cast<unsigned char>(
            plain ^ static_cast<unsigned char>(encrypted2 + unencrypted1));
        out.push_back(enc);
        encrypted2 = encrypted1;
        encrypted1 = enc;
        unencrypted1 = plain;
    };
    for (int i = 0; i < (seed & 6) / 2; ++i) {
        put(0);
    }
    const auto length = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) {
        put(static_cast<unsigned char>(length >> (8 * i)));
    }
    for (char c : data) {
        put(static_cast<unsigned char>(c));
    }
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : out) {
        text.push_back(hex[c >> 4]);
        text.push_back(hex[c & 0xF]);
    }
    return text;
}

ProjectStream parseProjectStream(std::string_view text) {
    ProjectStream project;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = trimmed(text.substr(at, end - at));
        at = end + 1;
        if (!line.empty() && line.front() == '[') {
            break; // [Host Extender Info] and [Workspace] say nothing of modules
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "Module") {
            project.kinds[std::string(value)] = ModuleKind::Procedural;
        } else if (key == "Class") {
            project.kinds[std::string(value)] = ModuleKind::Class;
        } else if (key == "BaseClass") {
            project.kinds[std::string(value)] = ModuleKind::Designer;
        } else if (key == "Document") {
            project.kinds[std::string(value.substr(0, value.find('/')))] = ModuleKind::Document;
        } else if (key == "CMG" || key == "DPB" || key == "GC") {
            const auto data = decryptProjectValue(unquoted(value));
            if (!data) {
                throw FormatError("the PROJECT stream's " + std::string(key) +
                                  " value cannot be decrypted");
            }
            if (key == "GC") {
                project.protection.lockedForViewing = data->size() == 1 && (*data)[0] == 0;
            } else if (key == "DPB") {
                project.protection.hasPassword = !(data->size() == 1 && (*data)[0] == 0);
            } else {
                std::uint32_t state = 0;
                for (std::size_t i = 0; i < data->size() && i < 4; ++i) {
                    state |= static_cast<std::uint32_t>(static_cast<unsigned char>((*data)[i]))
                             << (8 * i);
                }
                project.protection.protectionState = state;
            }
        }
    }
    return project;
}

} // namespace faultward::office
