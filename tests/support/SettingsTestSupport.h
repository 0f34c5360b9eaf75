#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace Korvatune::testing {

// Sets or removes an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* before = std::getenv(name)) {
            before_ = before;
        }
        apply(value);
    }
    ~ScopedVariable() { apply(before_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void apply(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

    const char* name_;
    std::optional<std::string> before_;
};

// A settings folder of its own, empty, removed afterwards; OMBRAFELL_SCALE is unset meanwhile.
class ScratchSettings {
public:
    ScratchSettings()
        : folder_(makeFolder()), config_("XDG_CONFIG_HOME", folder_.string()),
          forced_("OMBRAFELL_SCALE", std::nullopt) {}
    ~ScratchSettings() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path file() const {
        return folder_ / "Korvatune" / "Ombrafell" / "editor.conf";
    }

private:
    static std::filesystem::path makeFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ombrafell-settings-XXXXXX").string();
        return mkdtemp(pattern.data());
    }

    std::filesystem::path folder_;
    ScopedVariable config_;
    ScopedVariable forced_;
};

} // namespace Korvatune::testing
