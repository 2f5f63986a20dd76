#include "bible/swordsources.h"

#include "platform/codec.h"
#include "platform/settingsstore.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace qel {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kSourcesSection = "Sources";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kRemoteAccessName = "Remote Sources Allowed";
constexpr int kMaxUserSources = 64;

std::string userSourceKey(int i) {
    return "Source" + std::to_string(i);
}

// "name|address" in the settings file.
std::optional<SwordSource> userSourceAt(const SettingsStore& store, int i) {
    const std::string value = cp949ToUtf8(store.readString(kSourcesSection, userSourceKey(i), ""));
    const auto bar = value.find('|');
    if (bar == std::string::npos || bar == 0 || bar + 1 == value.size())
        return std::nullopt;
    return SwordSource{value.substr(0, bar), value.substr(bar + 1), false};
}

bool isBuiltInName(const std::string& name) {
    for (const SwordSource& source : builtInSources())
        if (source.name == name)
            return true;
    return false;
}

} // namespace

const std::vector<SwordSource>& builtInSources() {
    // CrossWire's master repository list (masterRepoList.conf, as the SWORD tools and
    // CrossWire's JSword read it). CrossWire's own entry is its HTTPS one
    // (crosswire.org|/ftpmirror/pub/sword/raw); its other folders are listed there over FTP
    // (ftp.crosswire.org|/pub/sword/betaraw, atticraw, wyclifferaw) and are read through the
    // same HTTPS mirror of /pub. IBT (ftp.ibt.org.ru|/pub/modsword/raw) and Xiphos
    // (ftp.xiphos.org|.) are that list's FTP entries as written.
    static const std::vector<SwordSource> sources{
        {"CrossWire", "https://crosswire.org/ftpmirror/pub/sword/raw", true},
        {"CrossWire Beta", "https://crosswire.org/ftpmirror/pub/sword/betaraw", true},
        {"CrossWire Attic", "https://crosswire.org/ftpmirror/pub/sword/atticraw", true},
        {"CrossWire Wycliffe", "https://crosswire.org/ftpmirror/pub/sword/wyclifferaw", true},
        {"IBT", "ftp://ftp.ibt.org.ru/pub/modsword/raw", true},
        {"Xiphos", "ftp://ftp.xiphos.org", true},
    };
    return sources;
}

std::vector<SwordSource> allSources(const SettingsStore& store) {
    std::vector<SwordSource> sources = builtInSources();
    for (int i = 1; i <= kMaxUserSources; ++i)
        if (auto source = userSourceAt(store, i))
            sources.push_back(std::move(*source));
    return sources;
}

bool addUserSource(SettingsStore& store, const SwordSource& source) {
    if (source.name.empty() || source.address.empty() ||
        source.name.find('|') != std::string::npos || isBuiltInName(source.name))
        return false;
    int freeSlot = 0;
    for (int i = 1; i <= kMaxUserSources; ++i) {
        const auto existing = userSourceAt(store, i);
        if (existing && existing->name == source.name) {
            freeSlot = i;
            break;
        }
        if (!existing && !freeSlot)
            freeSlot = i;
    }
    return freeSlot && store.writeString(kSourcesSection, userSourceKey(freeSlot),
                                         utf8ToCp949(source.name + "|" + source.address));
}

bool removeUserSource(SettingsStore& store, const std::string& name) {
    for (int i = 1; i <= kMaxUserSources; ++i)
        if (const auto existing = userSourceAt(store, i); existing && existing->name == name)
            return store.writeString(kSourcesSection, userSourceKey(i), "");
    return false;
}

bool isRemoteAddress(const std::string& address) {
    return address.starts_with("https://") || address.starts_with("http://") ||
           address.starts_with("ftp://");
}

std::optional<SwordSource> resolveSource(const SettingsStore& store, const std::string& given) {
    for (SwordSource& source : allSources(store))
        if (source.name == given)
            return source;
    std::error_code ec;
    if (isRemoteAddress(given) || fs::is_directory(given, ec)) {
        std::string address = given;
        while (address.size() > 1 && address.back() == '/')
            address.pop_back();
        return SwordSource{address, address, false};
    }
    return std::nullopt;
}

RemoteAccess remoteAccess(const SettingsStore& store) {
    switch (store.readInt(kSettingsSection, kRemoteAccessName, -1)) {
    case 0:
        return RemoteAccess::Refused;
    case 1:
        return RemoteAccess::Allowed;
    default:
        return RemoteAccess::NotAsked;
    }
}

bool setRemoteAccess(SettingsStore& store, bool allowed) {
    return store.writeInt(kSettingsSection, kRemoteAccessName, allowed ? 1 : 0);
}

std::string userCacheFolder() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.cache";
    else
        base = fs::temp_directory_path().string();
    return (fs::path(base) / "qelbible").string() + "/";
}

std::string sourceCacheFolder(const SwordSource& source) {
    // One folder per address, named so that any address makes a safe file name.
    std::string key;
    for (const unsigned char c : source.address)
        key += std::isalnum(c) || c == '.' || c == '-' ? static_cast<char>(c) : '_';
    return userCacheFolder() + "sources/" + key + "/";
}

std::vector<SwordModule> cachedModules(const SwordSource& source, bool all) {
    return readModuleFolder(sourceCacheFolder(source), all);
}

bool hasCachedList(const SwordSource& source) {
    std::error_code ec;
    return fs::is_directory(fs::path(sourceCacheFolder(source)) / "mods.d", ec);
}

namespace {

void appendUtf8(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string plainConfText(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        std::size_t end = i + 1;
        while (end < value.size() && std::isalpha(static_cast<unsigned char>(value[end])))
            ++end;
        const std::string word = value.substr(i + 1, end - i - 1);
        if (word == "u") {
            // \u1234? : a signed 16-bit code and a fallback letter.
            char* after = nullptr;
            long code = std::strtol(value.c_str() + end, &after, 10);
            end = static_cast<std::size_t>(after - value.c_str());
            if (end < value.size() && value[end] == '?')
                ++end;
            appendUtf8(out, static_cast<unsigned long>(code < 0 ? code + 65536 : code));
        } else if (word == "par" || word == "line") {
            out += '\n';
        } else if (word.empty()) {
            out += value[end++]; // an escaped "\\", "{" or "}"
        } else {
            // Other control words go with their numeric parameter ("\\qc", "\\fs20").
            while (end < value.size() &&
                   (std::isdigit(static_cast<unsigned char>(value[end])) || value[end] == '-'))
                ++end;
        }
        if (end < value.size() && value[end] == ' ' && !word.empty() && word != "u")
            ++end;
        i = end - 1;
    }
    return out;
}

} // namespace qel
