// The host's application preferences and their file.
#include "Preferences.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "InputText.h"

namespace sim {

bool Preferences::has(const std::string& section, const std::string& key) const {
    return find(section, key) != nullptr;
}

const PrefValue* Preferences::find(const std::string& section, const std::string& key) const {
    auto s = sections_.find(section);
    if (s == sections_.end()) return nullptr;
    auto k = s->second.find(key);
    return k == s->second.end() ? nullptr : &k->second;
}

void Preferences::set(const std::string& section, const std::string& key, PrefValue value) {
    sections_[section][key] = std::move(value);
    readDefaults_.erase({section, key});
}

void Preferences::setByRead(const std::string& section, const std::string& key, PrefValue value) {
    sections_[section][key] = std::move(value);
    readDefaults_.insert({section, key});
}

bool Preferences::erase(const std::string& section, const std::string& key) {
    readDefaults_.erase({section, key});
    auto s = sections_.find(section);
    if (s == sections_.end()) return false;
    bool erased = s->second.erase(key) > 0;
    if (s->second.empty()) sections_.erase(s);
    return erased;
}

namespace {

double asDouble(const PrefValue& v) {
    if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    if (auto l = std::get_if<long>(&v)) return static_cast<double>(*l);
    if (auto d = std::get_if<double>(&v)) return *d;
    const std::string& s = std::get<std::string>(v);
    char* end = nullptr;
    double d = std::strtod(s.c_str(), &end);
    return end == s.c_str() ? 0.0 : d;
}

long truncateToLong(double d) {
    if (!std::isfinite(d)) return 0;
    if (d >= 2147483647.0) return 2147483647L;
    if (d <= -2147483648.0) return -2147483647L - 1;
    return static_cast<long>(std::trunc(d));
}

}  // namespace

long Preferences::getLong(const std::string& section, const std::string& key, long fallback) const {
    const PrefValue* v = find(section, key);
    if (!v) return fallback;
    if (auto l = std::get_if<long>(v)) return *l;
    return truncateToLong(asDouble(*v));
}

double Preferences::getDouble(const std::string& section, const std::string& key,
                              double fallback) const {
    const PrefValue* v = find(section, key);
    return v ? asDouble(*v) : fallback;
}

bool Preferences::getBool(const std::string& section, const std::string& key, bool fallback) const {
    const PrefValue* v = find(section, key);
    if (!v) return fallback;
    if (auto s = std::get_if<std::string>(v)) return *s == "true" || *s == "1";
    return asDouble(*v) != 0.0;
}

std::string Preferences::getString(const std::string& section, const std::string& key,
                                   const std::string& fallback) const {
    const PrefValue* v = find(section, key);
    if (!v) return fallback;
    if (auto s = std::get_if<std::string>(v)) return *s;
    if (auto b = std::get_if<bool>(v)) return *b ? "true" : "false";
    if (auto l = std::get_if<long>(v)) return std::to_string(*l);
    std::ostringstream o;
    o << std::get<double>(*v);
    return o.str();
}

Preferences Preferences::parse(const std::string& text, const std::string& fileName) {
    nlohmann::json doc;
    try {
        checkJsonText(text, fileName);
    } catch (const InputError& e) {
        throw std::runtime_error(e.what());
    }
    try {
        doc = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        throw std::runtime_error(fileName + ": not valid JSON (at byte " + std::to_string(e.byte) +
                                 ")");
    } catch (const nlohmann::json::exception& e) {
        // e.g. a number too large for a double; the library's "[json.exception...] " tag goes.
        std::string what = e.what();
        size_t tag = what.find("] ");
        if (what.rfind("[json.exception", 0) == 0 && tag != std::string::npos)
            what = what.substr(tag + 2);
        throw std::runtime_error(fileName + ": not valid JSON: " + what);
    }
    if (!doc.is_object()) throw std::runtime_error(fileName + ": expected an object of sections");
    Preferences prefs;
    for (auto& [section, keys] : doc.items()) {
        if (!keys.is_object())
            throw std::runtime_error(fileName + ": " + section + ": expected an object of keys");
        for (auto& [key, value] : keys.items()) {
            std::string at = fileName + ": " + section + "." + key;
            if (value.is_boolean())
                prefs.set(section, key, value.get<bool>());
            else if (value.is_number_integer()) {
                // The host keeps whole numbers as 32-bit longs; a larger one cannot be held.
                bool fits =
                    value.is_number_unsigned()
                        ? value.get<uint64_t>() <= uint64_t(INT32_MAX)
                        : value.get<int64_t>() >= INT32_MIN && value.get<int64_t>() <= INT32_MAX;
                if (!fits)
                    throw std::runtime_error(at + ": expected a whole number from " +
                                             std::to_string(INT32_MIN) + " to " +
                                             std::to_string(INT32_MAX) + ", got " + value.dump());
                prefs.set(section, key, static_cast<long>(value.get<int64_t>()));
            } else if (value.is_number()) {
                double d = value.get<double>();
                if (!std::isfinite(d)) throw std::runtime_error(at + ": expected a finite number");
                prefs.set(section, key, d);
            } else if (value.is_string()) {
                // A float that is not finite is written as its name (JSON has no such number).
                const std::string word = value.get<std::string>();
                if (word == "Infinity")
                    prefs.set(section, key, HUGE_VAL);
                else if (word == "-Infinity")
                    prefs.set(section, key, -HUGE_VAL);
                else if (word == "NaN")
                    prefs.set(section, key, std::nan(""));
                else
                    prefs.set(section, key, word);
            } else
                throw std::runtime_error(at + ": expected a boolean, a number or a string");
        }
    }
    return prefs;
}

Preferences Preferences::load(const std::string& path) {
    std::string text;
    try {
        text = readInputFile(path, kPreferencesFileKind);
    } catch (const InputError& e) {
        throw std::runtime_error(e.what());
    }
    return parse(text, path);
}

std::string Preferences::serialize() const {
    return serialize(true);
}

std::string Preferences::serializeChosen() const {
    return serialize(false);
}

std::string Preferences::serialize(bool withReadDefaults) const {
    nlohmann::json doc = nlohmann::json::object();
    for (auto& [section, keys] : sections_) {
        nlohmann::json s = nlohmann::json::object();
        for (auto& [key, value] : keys) {
            if (!withReadDefaults && readDefaults_.count({section, key})) continue;
            const std::string& name = key;  // a structured binding cannot be captured in C++17
            const double* d = std::get_if<double>(&value);
            if (d && !std::isfinite(*d)) {
                // JSON holds no such number: its name, which parse reads back as the float.
                s[name] = std::isnan(*d) ? "NaN" : (*d > 0 ? "Infinity" : "-Infinity");
                continue;
            }
            std::visit([&](const auto& v) { s[name] = v; }, value);
        }
        if (withReadDefaults || !s.empty()) doc[section] = std::move(s);
    }
    return doc.dump(2) + "\n";
}

void Preferences::save(const std::string& path) const {
    namespace fs = std::filesystem;
    std::error_code error;
    // Written through a temporary and a rename: a link or a special file would be replaced, not
    // written through; such a destination is refused.
    fs::file_status own = fs::symlink_status(path, error);
    if (fs::exists(own) && !fs::is_regular_file(own))
        throw std::runtime_error(path + ": cannot be written: it is not a regular file");
    std::string tmp;
    for (int n = 0; tmp.empty() || fs::exists(fs::symlink_status(tmp, error)); ++n)
        tmp = path + ".tmp-" + std::to_string(n);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error(path + ": cannot be written");
        out << serialize();
        if (!out.flush()) {
            out.close();
            std::remove(tmp.c_str());
            throw std::runtime_error(path + ": cannot be written");
        }
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        throw std::runtime_error(path + ": cannot be written");
    }
}

}  // namespace sim
