// Checked reading of JSON values: every failure names the file, the field and what was expected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "Model.h"
#include "ProjectFile.h"

namespace sim {

// Fields keep their file order so that errors and saved files follow it.
using Json = nlohmann::ordered_json;

std::string fieldPath(const std::string& path, const std::string& key);  // "items[2]" + "width"
std::string indexPath(const std::string& path, size_t index);            // "items" + 2
std::string describeJson(const Json& value);  // short text of a value for messages
std::string formatNumber(double value);       // "5", "0.25"

// Parses JSON text, rejecting objects that repeat a field (which JSON parsers silently merge).
Json parseJsonText(const std::string& text, const std::string& fileName);

// Typed access to the values of one file. Failures throw ProjectError
// "<file>: <path>: expected <what>, got <value>".
class JsonFields {
  public:
    explicit JsonFields(std::string fileName) : file_(std::move(fileName)) {}

    [[noreturn]] void fail(const std::string& path, const std::string& message) const;
    [[noreturn]] void expected(const std::string& path, const std::string& what,
                               const Json& got) const;
    [[noreturn]] void expected(const std::string& path, const std::string& what,
                               const std::string& got) const;

    // Checks that `value` is an object whose fields are all in `allowed`.
    void object(const Json& value, const std::string& path, const std::string& what,
                std::initializer_list<const char*> allowed) const;
    const Json& required(const Json& object, const std::string& path, const char* key) const;
    static const Json* optional(const Json& object, const char* key);  // nullptr when absent

    bool boolean(const Json& value, const std::string& path) const;
    // A finite number of magnitude at most format::kMaxMagnitude.
    double number(const Json& value, const std::string& path) const;
    double number(const Json& value, const std::string& path, double low, double high) const;
    // The same with the expectation worded by the caller.
    double number(const Json& value, const std::string& path, double low, double high,
                  const std::string& what) const;
    int64_t whole(const Json& value, const std::string& path, int64_t low, int64_t high) const;
    // The same with the expectation worded by the caller.
    int64_t whole(const Json& value, const std::string& path, int64_t low, int64_t high,
                  const std::string& what) const;
    std::string string(const Json& value, const std::string& path, bool allowEmpty) const;
    // Seconds as a number, or an exact "n/d" or decimal string.
    Rational time(const Json& value, const std::string& path) const;
    Vec2 vec2(const Json& value, const std::string& path) const;
    // A mask vertex or tangent: any finite numbers, since the host keeps a mask's points as
    // doubles wherever the user drew them, however far outside the frame.
    Vec2 maskPoint(const Json& value, const std::string& path) const;
    // [x, y] (z = defaultZ) or [x, y, z].
    Vec3 vec3(const Json& value, const std::string& path, double defaultZ) const;
    // The index in `names` of the string `value`.
    size_t choice(const Json& value, const std::string& path,
                  const std::vector<const char*>& names) const;

  private:
    std::string file_;
};

}  // namespace sim
