#include "platform/settingsstore.h"

#include "platform/codec.h"
#include "platform/messagesink.h"
#include "platform/text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace qel {

SettingsStore::SettingsStore(std::string filePath) : path_(std::move(filePath)) {
    load();
}

std::string SettingsStore::defaultFilePath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = ".";
    return base + "/QEL/QEL CD-ROM 성경.ini";
}

void SettingsStore::load() {
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    Section* current = nullptr;
    while (std::getline(in, line)) {
        const std::string_view text = trimmed(line);
        if (text.empty() || text.front() == ';' || text.front() == '#')
            continue;
        if (text.front() == '[' && text.back() == ']') {
            current = &sections_[std::string(text.substr(1, text.size() - 2))];
            continue;
        }
        const auto equals = text.find('=');
        if (!current || equals == std::string_view::npos)
            continue;
        (*current)[std::string(trimmed(text.substr(0, equals)))] =
            std::string(trimmed(text.substr(equals + 1)));
    }
}

bool SettingsStore::save(std::string& reason) const {
    const std::filesystem::path target(path_);
    std::error_code ec;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);
    // Write a sibling file and rename it so a crash never leaves half a settings file.
    const std::filesystem::path temporary = target.string() + ".tmp";
    bool written;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const auto& [section, values] : sections_) {
            out << '[' << section << "]\n";
            for (const auto& [name, value] : values)
                out << name << '=' << value << '\n';
            out << '\n';
        }
        written = out.is_open() && out.flush();
        if (!written)
            reason = std::strerror(errno);
    }
    if (written) {
        std::filesystem::rename(temporary, target, ec);
        if (!ec)
            return true;
        reason = ec.message();
    }
    std::filesystem::remove(temporary, ec);
    return false;
}

void SettingsStore::reportFailure(const std::string& reason) noexcept {
    if (failureReported_)
        return;
    failureReported_ = true;
    try {
        logWarning("cannot write settings file " + path_ + ": " + reason);
        showMessage(utf8ToCp949("설정 파일을 저장할 수 없습니다.\n" + path_ +
                                "\n바뀐 설정과 읽던 곳은 다음에 시작할 때 남아 있지 않습니다."),
                    utf8ToCp949("설정 저장 오류"));
    } catch (...) {
        // Out of memory while telling the user: the value is still kept for this run.
    }
}

bool SettingsStore::write(std::string_view section, std::string_view name,
                          std::string value) noexcept {
    std::string reason;
    try {
        sections_[std::string(section)][std::string(name)] = std::move(value);
        if (save(reason))
            return true;
    } catch (const std::exception& e) {
        reason = e.what();
    } catch (...) {
    }
    reportFailure(reason);
    return false;
}

const std::string* SettingsStore::find(std::string_view section, std::string_view name) const {
    const auto s = sections_.find(section);
    if (s == sections_.end())
        return nullptr;
    const auto v = s->second.find(name);
    return v == s->second.end() ? nullptr : &v->second;
}

bool SettingsStore::contains(std::string_view section, std::string_view name) const {
    return find(section, name) != nullptr;
}

int SettingsStore::readInt(std::string_view section, std::string_view name,
                           int defaultValue) const {
    const std::string* value = find(section, name);
    if (!value || value->empty())
        return defaultValue;
    errno = 0;
    char* end = nullptr;
    const bool hex = value->size() > 2 && (*value)[0] == '0' && ((*value)[1] | 0x20) == 'x';
    const long parsed = std::strtol(value->c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > UINT_MAX)
        return defaultValue;
    // Colours are stored as unsigned 32-bit numbers; keep their bit pattern.
    return static_cast<int>(static_cast<unsigned int>(parsed));
}

std::string SettingsStore::readString(std::string_view section, std::string_view name,
                                      std::string_view defaultValue) const {
    const std::string* value = find(section, name);
    return value ? utf8ToCp949(*value) : std::string(defaultValue);
}

bool SettingsStore::writeInt(std::string_view section, std::string_view name, int value) noexcept {
    try {
        return write(section, name, std::to_string(value));
    } catch (...) {
        reportFailure("out of memory");
        return false;
    }
}

bool SettingsStore::writeString(std::string_view section, std::string_view name,
                                std::string_view value) noexcept {
    try {
        return write(section, name, cp949ToUtf8(value));
    } catch (...) {
        reportFailure("out of memory");
        return false;
    }
}

} // namespace qel
