// The host's application preferences: sections of typed keys, as scripts and plug-ins see them.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>

namespace sim {

// A stored value keeps the type it was written with; readers of another type convert as the host
// does (a float read as an integer is truncated toward zero).
using PrefValue = std::variant<bool, long, double, std::string>;

class Preferences {
  public:
    bool has(const std::string& section, const std::string& key) const;
    const PrefValue* find(const std::string& section, const std::string& key) const;
    void set(const std::string& section, const std::string& key, PrefValue value);
    bool erase(const std::string& section, const std::string& key);
    // A value the host wrote itself because a plug-in read an absent key (the reader's default):
    // kept like any other, but remembered as nobody's choice until something sets it.
    void setByRead(const std::string& section, const std::string& key, PrefValue value);

    // Typed reads with the caller's default for an absent key.
    long getLong(const std::string& section, const std::string& key, long fallback) const;
    double getDouble(const std::string& section, const std::string& key, double fallback) const;
    bool getBool(const std::string& section, const std::string& key, bool fallback) const;
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& fallback) const;

    const std::map<std::string, std::map<std::string, PrefValue>>& sections() const {
        return sections_;
    }

    // The preferences file of zentrim-host (--prefs): {"Section": {"Key": true|number|"text"}}.
    // Whole numbers load as longs (32-bit, as the host keeps them), other numbers as doubles. A
    // double that is not finite is written as the text "Infinity", "-Infinity" or "NaN", and
    // those three texts load as that double, so every file written loads back.
    // Errors name the file and the key; the file is read within kPreferencesFileKind's limits and
    // its text checked by checkJsonText before it is parsed.
    static Preferences load(const std::string& path);
    static Preferences parse(const std::string& jsonText, const std::string& fileName);
    std::string serialize() const;
    // The same without the values reads wrote: what scripts and the user chose.
    std::string serializeChosen() const;
    // Written to a fresh temporary file beside `path`, then renamed; a destination that is not a
    // regular file (a link, a FIFO, a device) is refused. (zentrim-host writes its --prefs file
    // with writeFileAtomically.)
    void save(const std::string& path) const;

    int savesToDisk = 0;  // how many times a script asked to save the preferences

  private:
    std::string serialize(bool withReadDefaults) const;

    std::map<std::string, std::map<std::string, PrefValue>> sections_;
    std::set<std::pair<std::string, std::string>> readDefaults_;  // (section, key)
};

}  // namespace sim
