// Typed, path-reporting access to JSON values for the project file reader.
#include "JsonFields.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>

#include "InputText.h"
#include "ProjectFormat.h"

namespace sim {

std::string fieldPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string indexPath(const std::string& path, size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string formatNumber(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char text[32] = "";
    // The shortest text that reads back as the same double.
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

std::string describeJson(const Json& value) {
    std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (value.is_array()) text = value.empty() ? "an empty array" : "an array " + text;
    if (value.is_object()) text = value.empty() ? "an empty object" : "an object " + text;
    constexpr size_t kMax = 60;
    if (text.size() > kMax) text = text.substr(0, kMax - 3) + "...";
    return text;
}

namespace {

// Builds the document from the parser's events, following them to know the path of each field so
// that a repeated one is reported. Built on the SAX interface rather than a parse callback: the
// callback parser looks through a container's earlier elements each time one of them ends, which
// makes a long array of objects (a project of many items) quadratic to read.
class DuplicateFieldCheck : public nlohmann::json_sax<Json> {
  public:
    DuplicateFieldCheck(Json& result, std::string fileName)
        : dom_(result), file_(std::move(fileName)) {}

    bool null() override {
        value();
        return dom_.null();
    }
    bool boolean(bool v) override {
        value();
        return dom_.boolean(v);
    }
    bool number_integer(number_integer_t v) override {
        value();
        return dom_.number_integer(v);
    }
    bool number_unsigned(number_unsigned_t v) override {
        value();
        return dom_.number_unsigned(v);
    }
    bool number_float(number_float_t v, const string_t& text) override {
        value();
        return dom_.number_float(v, text);
    }
    bool string(string_t& v) override {
        value();
        return dom_.string(v);
    }
    bool binary(binary_t& v) override {
        value();
        return dom_.binary(v);
    }
    bool start_object(std::size_t n) override {
        start(false);
        return dom_.start_object(n);
    }
    bool key(string_t& k) override {
        Frame& top = frames_.back();
        top.key = k;
        if (!top.keys.insert(top.key).second)
            throw ProjectError(file_ + ": " + currentPath() +
                               ": this field appears twice in the same object");
        return dom_.key(k);
    }
    bool end_object() override {
        frames_.pop_back();
        return dom_.end_object();
    }
    bool start_array(std::size_t n) override {
        start(true);
        return dom_.start_array(n);
    }
    bool end_array() override {
        frames_.pop_back();
        return dom_.end_array();
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // Thrown as its own type, so that the byte it happened at is kept.
        if (auto* syntax = dynamic_cast<const Json::parse_error*>(&error)) throw *syntax;
        if (auto* range = dynamic_cast<const Json::out_of_range*>(&error)) throw *range;
        throw Json::other_error::create(0, error.what(), nullptr);
    }

  private:
    struct Frame {
        bool array;
        long index;
        std::string key;
        std::set<std::string> keys;
    };

    void start(bool array) {
        countElement();
        frames_.push_back({array, -1, "", {}});
    }
    void value() { countElement(); }
    void countElement() {
        if (!frames_.empty() && frames_.back().array) ++frames_.back().index;
    }

    std::string currentPath() const {
        std::string path;
        for (const Frame& frame : frames_) {
            if (frame.array)
                path = indexPath(path, static_cast<size_t>(frame.index));
            else
                path = fieldPath(path, frame.key);
        }
        return path;
    }

    nlohmann::detail::json_sax_dom_parser<Json> dom_;
    std::string file_;
    std::vector<Frame> frames_;
};

}  // namespace

Json parseJsonText(const std::string& text, const std::string& fileName) {
    // Drops nlohmann's "[json.exception.parse_error.101] " tag; the rest reads well.
    auto untagged = [](std::string message) {
        size_t tag = message.find("] ");
        if (message.rfind("[json.exception", 0) == 0 && tag != std::string::npos)
            message = message.substr(tag + 2);
        return message;
    };
    // The parser and every walk over its result recurse: depth and encoding are checked first.
    try {
        checkJsonText(text, fileName);
    } catch (const InputError& error) {
        throw ProjectError(error.what());
    }
    try {
        Json result;
        DuplicateFieldCheck builder(result, fileName);
        Json::sax_parse(text, &builder);
        return result;
    } catch (const Json::parse_error& error) {
        throw ProjectError(fileName + ": not valid JSON (byte " + std::to_string(error.byte) +
                           "): " + untagged(error.what()));
    } catch (const Json::exception& error) {
        // e.g. a number too large for a double
        throw ProjectError(fileName + ": not valid JSON: " + untagged(error.what()));
    }
}

void JsonFields::fail(const std::string& path, const std::string& message) const {
    throw ProjectError(file_ + ": " + (path.empty() ? "" : path + ": ") + message);
}

void JsonFields::expected(const std::string& path, const std::string& what, const Json& got) const {
    expected(path, what, describeJson(got));
}

void JsonFields::expected(const std::string& path, const std::string& what,
                          const std::string& got) const {
    fail(path, "expected " + what + ", got " + got);
}

void JsonFields::object(const Json& value, const std::string& path, const std::string& what,
                        std::initializer_list<const char*> allowed) const {
    if (!value.is_object()) expected(path, what, value);
    for (auto field = value.begin(); field != value.end(); ++field) {
        bool known = false;
        for (const char* name : allowed)
            known = known || field.key() == name;
        if (known) continue;
        std::string list;
        for (const char* name : allowed)
            list += (list.empty() ? "" : ", ") + std::string(name);
        fail(fieldPath(path, field.key()), "unknown field; expected one of " + list);
    }
}

const Json& JsonFields::required(const Json& object, const std::string& path,
                                 const char* key) const {
    auto field = object.find(key);
    if (field == object.end()) fail(fieldPath(path, key), "missing; this field is required");
    return *field;
}

const Json* JsonFields::optional(const Json& object, const char* key) {
    auto field = object.find(key);
    return field == object.end() ? nullptr : &*field;
}

bool JsonFields::boolean(const Json& value, const std::string& path) const {
    if (!value.is_boolean()) expected(path, "true or false", value);
    return value.get<bool>();
}

double JsonFields::number(const Json& value, const std::string& path) const {
    // nlohmann reads an overflowing literal such as 1e999 as infinity; a finite 1e300 would
    // overflow the first transform it meets.
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        expected(path, "a finite number", value);
    double v = value.get<double>();
    if (std::fabs(v) > format::kMaxMagnitude)
        expected(path,
                 "a number from " + formatNumber(-format::kMaxMagnitude) + " to " +
                     formatNumber(format::kMaxMagnitude),
                 value);
    return v;
}

double JsonFields::number(const Json& value, const std::string& path, double low,
                          double high) const {
    return number(value, path, low, high,
                  "a number from " + formatNumber(low) + " to " + formatNumber(high));
}

double JsonFields::number(const Json& value, const std::string& path, double low, double high,
                          const std::string& what) const {
    if (!value.is_number()) expected(path, what, value);
    double v = value.get<double>();
    if (!(v >= low && v <= high)) expected(path, what, value);
    return v;
}

int64_t JsonFields::whole(const Json& value, const std::string& path, int64_t low,
                          int64_t high) const {
    return whole(value, path, low, high,
                 "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
}

int64_t JsonFields::whole(const Json& value, const std::string& path, int64_t low, int64_t high,
                          const std::string& what) const {
    if (!value.is_number()) expected(path, what, value);
    double v = value.get<double>();
    if (!(v >= static_cast<double>(low) && v <= static_cast<double>(high)) || v != std::floor(v))
        expected(path, what, value);
    return value.is_number_float() ? static_cast<int64_t>(v) : value.get<int64_t>();
}

std::string JsonFields::string(const Json& value, const std::string& path, bool allowEmpty) const {
    const char* what = allowEmpty ? "a string" : "a non-empty string";
    if (!value.is_string() || (!allowEmpty && value.get_ref<const std::string&>().empty()))
        expected(path, what, value);
    return value.get<std::string>();
}

Rational JsonFields::time(const Json& value, const std::string& path) const {
    const std::string range = "a time from " + formatNumber(-format::kMaxSeconds) + " to " +
                              formatNumber(format::kMaxSeconds) + " seconds";
    Rational t;
    if (value.is_number()) {
        double seconds = value.get<double>();
        if (!(std::fabs(seconds) <= format::kMaxSeconds)) expected(path, range, value);
        t = Rational::fromDouble(seconds);
        // fromDouble snaps to frame-like fractions (0.0333... is 1/30); a decimal it cannot
        // hold exactly, such as 1.0000001, is taken digit for digit instead.
        Rational decimal;
        if (t.toDouble() != seconds && Rational::parse(formatNumber(seconds), &decimal))
            t = decimal;
    } else if (value.is_string()) {
        if (!Rational::parse(value.get<std::string>(), &t))
            expected(path, "a time: seconds as a number or an exact fraction such as \"45/30\"",
                     value);
        if (std::fabs(t.toDouble()) > format::kMaxSeconds) expected(path, range, value);
    } else {
        expected(path, "a time: seconds as a number or an exact fraction such as \"45/30\"", value);
    }
    // The host hands times to plug-ins as a 32-bit value over a 32-bit scale.
    if (t.num > std::numeric_limits<int32_t>::max() ||
        t.num < std::numeric_limits<int32_t>::min() ||
        t.den > static_cast<int64_t>(std::numeric_limits<uint32_t>::max()))
        expected(path,
                 "a time the host can hold (a fraction whose numerator and denominator fit 32 "
                 "bits)",
                 describeJson(value) + " (" + t.toString() + ")");
    return t;
}

Vec2 JsonFields::vec2(const Json& value, const std::string& path) const {
    if (!value.is_array() || value.size() != 2) expected(path, "[x, y]", value);
    return {number(value[0], indexPath(path, 0)), number(value[1], indexPath(path, 1))};
}

Vec2 JsonFields::maskPoint(const Json& value, const std::string& path) const {
    if (!value.is_array() || value.size() != 2) expected(path, "[x, y]", value);
    auto finite = [&](const Json& v, const std::string& p) {
        if (!v.is_number() || !std::isfinite(v.get<double>())) expected(p, "a finite number", v);
        return v.get<double>();
    };
    return {finite(value[0], indexPath(path, 0)), finite(value[1], indexPath(path, 1))};
}

Vec3 JsonFields::vec3(const Json& value, const std::string& path, double defaultZ) const {
    if (!value.is_array() || value.size() < 2 || value.size() > 3)
        expected(path, "[x, y] or [x, y, z]", value);
    Vec3 v{number(value[0], indexPath(path, 0)), number(value[1], indexPath(path, 1)), defaultZ};
    if (value.size() == 3) v.z = number(value[2], indexPath(path, 2));
    return v;
}

size_t JsonFields::choice(const Json& value, const std::string& path,
                          const std::vector<const char*>& names) const {
    if (value.is_string()) {
        for (size_t i = 0; i < names.size(); ++i)
            if (value.get_ref<const std::string&>() == names[i]) return i;
    }
    std::string list;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? " or " : ", ";
        list += "\"" + std::string(names[i]) + "\"";
    }
    expected(path, list, value);
}

}  // namespace sim
