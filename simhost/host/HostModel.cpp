// The host model's questions by name, for the command line and the reports.
#include "HostModel.h"

namespace sim {

namespace {

// One question: its key, its values (default first) and where the answer lives. Every field is an
// enum whose values are numbered in the order of `values`.
struct Question {
    HostModelKey names;
    int (*get)(const HostModel&);
    void (*set)(HostModel&, int);
};

template <typename E, E HostModel::*Field>
int getField(const HostModel& m) {
    return static_cast<int>(m.*Field);
}
template <typename E, E HostModel::*Field>
void setField(HostModel& m, int v) {
    m.*Field = static_cast<E>(v);
}

#define ZENTRIM_QUESTION(KEY, TYPE, FIELD, ...)                                          \
    Question {                                                                           \
        HostModelKey{KEY, {__VA_ARGS__}}, &getField<HostModel::TYPE, &HostModel::FIELD>, \
            &setField<HostModel::TYPE, &HostModel::FIELD>                                \
    }

const std::vector<Question>& questions() {
    static const std::vector<Question> all = {
        ZENTRIM_QUESTION("resize-uses", ResizeUses, resizeUses, "proportional", "unchanged"),
        ZENTRIM_QUESTION("resize-children", ResizeChildren, resizeChildren, "unchanged",
                         "proportional"),
        ZENTRIM_QUESTION("vertex0", Vertex0, vertex0, "independent", "coupled"),
        ZENTRIM_QUESTION("render-downsample", RenderDownsample, renderDownsample, "preview",
                         "full"),
        ZENTRIM_QUESTION("float-as-long", FloatAsLong, floatAsLong, "truncate", "zero"),
        ZENTRIM_QUESTION("script-error", ScriptError, scriptError, "error", "silent"),
    };
    return all;
}

#undef ZENTRIM_QUESTION

const Question* find(const std::string& key) {
    for (const Question& q : questions())
        if (q.names.key == key) return &q;
    return nullptr;
}

std::string joined(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values)
        out += (out.empty() ? "" : ", ") + v;
    return out;
}

}  // namespace

const std::vector<HostModelKey>& hostModelKeys() {
    static const std::vector<HostModelKey> keys = [] {
        std::vector<HostModelKey> out;
        for (const Question& q : questions())
            out.push_back(q.names);
        return out;
    }();
    return keys;
}

bool setHostModel(HostModel& model, const std::string& keyEqualsValue, std::string* error) {
    const size_t eq = keyEqualsValue.find('=');
    if (eq == std::string::npos) {
        *error = "expected KEY=VALUE, got \"" + keyEqualsValue + "\"";
        return false;
    }
    const std::string key = keyEqualsValue.substr(0, eq), value = keyEqualsValue.substr(eq + 1);
    const Question* q = find(key);
    if (!q) {
        std::vector<std::string> keys;
        for (const Question& each : questions())
            keys.push_back(each.names.key);
        *error = "unknown host-model key \"" + key + "\" (expected one of " + joined(keys) + ")";
        return false;
    }
    const std::vector<std::string>& values = q->names.values;
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] == value) {
            q->set(model, static_cast<int>(i));
            return true;
        }
    }
    *error = "unknown value \"" + value + "\" for host-model key \"" + key +
             "\" (expected one of " + joined(values) + ")";
    return false;
}

std::string hostModelValue(const HostModel& model, const std::string& key) {
    const Question* q = find(key);
    if (!q) return "";
    const int index = q->get(model);
    return index >= 0 && index < static_cast<int>(q->names.values.size()) ? q->names.values[index]
                                                                          : "";
}

}  // namespace sim
