#include "programs/cli/CliArgs.h"

#include <algorithm>

bool CliArgs::Parse(const std::vector<std::string>& words, const std::vector<Option>& declared, std::string& error)
{
    m_values.clear();
    m_positional.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 3 || word.rfind("--", 0) != 0) {
            if (word == "--" && !optionsEnded) {
                optionsEnded = true;
                continue;
            }
            m_positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        const auto option =
            std::find_if(declared.begin(), declared.end(), [&](const Option& o) { return o.name == name; });
        if (option == declared.end()) {
            error = "unknown option --" + name;
            return false;
        }
        if (option->takesValue && !value) {
            if (i + 1 >= words.size()) {
                error = "--" + name + " needs a value";
                return false;
            }
            value = words[++i];
        }
        if (!option->takesValue && value) {
            error = "--" + name + " takes no value";
            return false;
        }
        if (!option->repeatable && m_values.count(name)) {
            error = "--" + name + " given twice";
            return false;
        }
        m_values.emplace(name, value.value_or(""));
    }
    return true;
}

std::optional<std::string> CliArgs::Value(const std::string& name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

std::vector<std::string> CliArgs::Values(const std::string& name) const
{
    std::vector<std::string> values;
    const auto [first, last] = m_values.equal_range(name);
    for (auto it = first; it != last; ++it)
        values.push_back(it->second);
    return values;
}
