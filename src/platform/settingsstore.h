#pragma once

#include <map>
#include <string>
#include <string_view>

namespace qel {

// Persistent settings in an INI file (UTF-8 on disk, CP949 through this interface). Missing
// or unreadable values give the caller's default; every write is saved at once. A write
// never throws: when the file cannot be saved (read-only folder, full disk, a folder in its
// place) the value still holds for this run and the user is told once, by a message that
// names the file.
class SettingsStore {
public:
    explicit SettingsStore(std::string filePath);

    // $XDG_CONFIG_HOME/QEL/QEL CD-ROM 성경.ini (~/.config when XDG_CONFIG_HOME is unset).
    static std::string defaultFilePath();

    const std::string& filePath() const { return path_; }

    bool contains(std::string_view section, std::string_view name) const;
    int readInt(std::string_view section, std::string_view name, int defaultValue) const;
    std::string readString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const;

    // False when the file could not be saved.
    bool writeInt(std::string_view section, std::string_view name, int value) noexcept;
    bool writeString(std::string_view section, std::string_view name,
                     std::string_view value) noexcept;

private:
    using Section = std::map<std::string, std::string, std::less<>>;

    const std::string* find(std::string_view section, std::string_view name) const;
    void load();
    bool write(std::string_view section, std::string_view name, std::string value) noexcept;
    [[nodiscard]] bool save(std::string& reason) const;
    void reportFailure(const std::string& reason) noexcept;

    std::string path_;
    std::map<std::string, Section, std::less<>> sections_;
    bool failureReported_ = false;
};

} // namespace qel
