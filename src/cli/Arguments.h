#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tavrok::cli {

// A subcommand's arguments: positional words, "--name value" (or "--name=value") options and
// "--flag" switches. Which names are switches is told by the subcommand.
class Arguments {
  public:
    static std::optional<Arguments> parse(const std::vector<std::string>& words,
                                          const std::set<std::string>& switches,
                                          std::string& error);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
    // Names given that are not in the list: reported as mistakes.
    std::vector<std::string> unknown(const std::set<std::string>& known) const;
    // Whether an option or switch was given more than once (the last value counts).
    bool repeated(const std::string& name) const { return m_repeated.contains(name); }

  private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_options;
    std::set<std::string> m_switches;
    std::set<std::string> m_repeated;
};

// "12.5,-3" -> {12.5, -3}; empty on anything else.
std::optional<std::pair<double, double>> parsePair(const std::string& text);
std::optional<double> parseNumber(const std::string& text);
std::optional<long> parseInteger(const std::string& text);

}  // namespace tavrok::cli
