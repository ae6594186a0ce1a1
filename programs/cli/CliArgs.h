#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The words of one command line after the command name: options of the form
// "--name value" or "--name=value" (the ones declared as flags take no value),
// and positional arguments. "--" ends the options.
class CliArgs {
public:
    struct Option {
        std::string name;
        bool takesValue = true;
        bool repeatable = false;
    };

    // False with an error text when a word does not fit the declared options.
    bool Parse(const std::vector<std::string>& words, const std::vector<Option>& declared, std::string& error);

    bool Has(const std::string& name) const { return m_values.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& Positional() const { return m_positional; }

private:
    std::multimap<std::string, std::string> m_values;
    std::vector<std::string> m_positional;
};
