// Reading the simulated user's answers: the --ui file and actions typed at the terminal.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "InputText.h"
#include "ScriptEngine.h"

namespace sim {

namespace {

using nlohmann::json;

const char* const kActionList = "check, uncheck, text, select, click or close";

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw std::runtime_error(where + ": " + what);
}

// A non-negative whole number that fits an int, as JSON gives it.
bool isIndex(const json& v) {
    return (v.is_number_unsigned() || v.is_number_integer()) && v.get<int64_t>() >= 0 &&
           v.get<int64_t>() <= 1000000;
}

DialogAction parseAction(const json& entry, const std::string& at) {
    if (!entry.is_object() || entry.size() != 1)
        fail(at, "expected an object with one action, e.g. {\"click\": \"OK\"}");
    auto only = entry.begin();
    const std::string kind = only.key();
    const json& arg = only.value();
    DialogAction a;
    a.kind = kind;
    if (kind == "check" || kind == "uncheck" || kind == "click") {
        if (!arg.is_string()) fail(at + "." + kind, "expected the control's text (a string)");
        a.label = arg.get<std::string>();
    } else if (kind == "text") {
        if (!arg.is_array() || arg.size() != 2 || !isIndex(arg[0]) || !arg[1].is_string())
            fail(at + ".text", "expected [field number (from 0), \"text\"]");
        a.index = arg[0].get<int>();
        a.value = arg[1].get<std::string>();
    } else if (kind == "select") {
        if (!arg.is_array() || arg.size() != 2 || !isIndex(arg[0]) || !isIndex(arg[1]))
            fail(at + ".select", "expected [list number (from 0), item number (from 0)]");
        a.index = arg[0].get<int>();
        a.item = arg[1].get<int>();
    } else if (kind != "close") {  // close's value means nothing
        fail(at, "unknown action \"" + kind + "\"; expected " + kActionList);
    }
    return a;
}

DialogAnswer parseDialog(const json& entry, const std::string& at) {
    if (!entry.is_object()) fail(at, "expected an object with \"title\" and \"actions\"");
    for (auto& [key, value] : entry.items()) {
        (void)value;
        if (key != "title" && key != "actions")
            fail(at, "unknown field \"" + key + "\"; expected title or actions");
    }
    DialogAnswer d;
    auto title = entry.find("title");
    if (title == entry.end()) fail(at + ".title", "missing; expected the window's title");
    if (!title->is_string()) fail(at + ".title", "expected the window's title (a string)");
    d.title = title->get<std::string>();
    auto actions = entry.find("actions");
    if (actions == entry.end()) fail(at + ".actions", "missing; expected an array of actions");
    if (!actions->is_array()) fail(at + ".actions", "expected an array of actions");
    for (size_t i = 0; i < actions->size(); ++i)
        d.actions.push_back(parseAction((*actions)[i], at + ".actions[" + std::to_string(i) + "]"));
    return d;
}

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// Reads a whole number from the front of `rest`, leaving the remainder (trimmed) in `rest`.
bool takeIndex(std::string& rest, int& out) {
    size_t n = 0;
    while (n < rest.size() && n < 7 && std::isdigit(static_cast<unsigned char>(rest[n])))
        ++n;
    if (n == 0 || (n < rest.size() && !std::isspace(static_cast<unsigned char>(rest[n]))))
        return false;
    out = std::stoi(rest.substr(0, n));
    rest = trim(rest.substr(n));
    return true;
}

// The text as the terminal listing shows it: "OK" is OK (\" and \\ inside stand for " and \);
// unquoted text is taken as it is.
std::string unquote(const std::string& text, const std::string& what) {
    if (text.size() < 2 || text.front() != '"') return text;
    if (text.back() != '"') throw std::runtime_error(what + ": the closing quote is missing");
    std::string out;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

}  // namespace

UserAnswers parseUserAnswers(const std::string& text, const std::string& fileName) {
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        fail(fileName, "not valid JSON (at byte " + std::to_string(e.byte) + ")");
    } catch (const json::exception&) {
        // A number beyond a double's range, such as 1e999, is no parse error to the library.
        fail(fileName, "not valid JSON (a number is out of range)");
    }
    if (!doc.is_object()) fail(fileName, "expected an object with \"dialogs\"");
    for (auto& [key, value] : doc.items()) {
        (void)value;
        if (key != "dialogs") fail(fileName, "unknown field \"" + key + "\"; expected dialogs");
    }
    auto dialogs = doc.find("dialogs");
    if (dialogs == doc.end()) fail(fileName + ": dialogs", "missing; expected an array of dialogs");
    if (!dialogs->is_array()) fail(fileName + ": dialogs", "expected an array of dialogs");
    UserAnswers answers;
    for (size_t i = 0; i < dialogs->size(); ++i)
        answers.dialogs.push_back(
            parseDialog((*dialogs)[i], fileName + ": dialogs[" + std::to_string(i) + "]"));
    return answers;
}

UserAnswers loadUserAnswers(const std::string& path) {
    // Size, kind of file, encoding and nesting are checked before the parser sees the text.
    std::string text;
    try {
        text = readInputFile(path, kAnswersFileKind);
        checkJsonText(text, path);
    } catch (const InputError& e) {
        throw std::runtime_error(e.what());
    }
    return parseUserAnswers(text, path);
}

DialogAction parseActionLine(const std::string& line) {
    std::string text = trim(line);
    size_t space = text.find_first_of(" \t");
    DialogAction a;
    a.kind = text.substr(0, space);
    std::string rest = space == std::string::npos ? "" : trim(text.substr(space));
    if (a.kind == "check" || a.kind == "uncheck" || a.kind == "click") {
        if (rest.empty()) throw std::runtime_error(a.kind + ": expected the control's text");
        a.label = unquote(rest, a.kind);
    } else if (a.kind == "text") {
        // The value is the rest of the line as typed, so it may hold spaces or be empty.
        if (!takeIndex(rest, a.index))
            throw std::runtime_error("text: expected a field number (from 0), then the text");
        a.value = unquote(rest, "text");
    } else if (a.kind == "select") {
        const char* expected =
            "select: expected a list number (from 0), then an item number (from 0) or the "
            "item's quoted text";
        if (!takeIndex(rest, a.index)) throw std::runtime_error(expected);
        if (rest.size() >= 2 && rest.front() == '"') {
            a.itemText = unquote(rest, "select");
            if (a.itemText.empty()) throw std::runtime_error(expected);
        } else if (!takeIndex(rest, a.item) || !rest.empty()) {
            throw std::runtime_error(expected);
        }
    } else if (a.kind != "close") {
        throw std::runtime_error("unknown action \"" + a.kind + "\"; expected " + kActionList);
    }
    return a;
}

}  // namespace sim
