#include "cli/Arguments.h"

#include <charconv>

namespace tavrok::cli {

std::optional<Arguments> Arguments::parse(const std::vector<std::string>& words,
                                          const std::set<std::string>& switches,
                                          std::string& error) {
    Arguments arguments;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 3 || word.rfind("--", 0) != 0) {
            arguments.m_positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        const std::string key = name.substr(0, name.find('='));
        if (arguments.has(key)) {
            arguments.m_repeated.insert(key);
        }
        if (const auto equals = name.find('='); equals != std::string::npos) {
            arguments.m_options[name.substr(0, equals)] = name.substr(equals + 1);
        } else if (switches.contains(name)) {
            arguments.m_switches.insert(name);
        } else if (i + 1 < words.size()) {
            arguments.m_options[name] = words[++i];
        } else {
            error = "option --" + name + " needs a value";
            return std::nullopt;
        }
    }
    return arguments;
}

bool Arguments::has(const std::string& name) const {
    return m_switches.contains(name) || m_options.contains(name);
}

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto found = m_options.find(name);
    if (found == m_options.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<std::string> Arguments::unknown(const std::set<std::string>& known) const {
    std::vector<std::string> names;
    for (const auto& [name, value] : m_options) {
        if (!known.contains(name)) {
            names.push_back(name);
        }
    }
    for (const auto& name : m_switches) {
        if (!known.contains(name)) {
            names.push_back(name);
        }
    }
    return names;
}

std::optional<double> parseNumber(const std::string& text) {
    double value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<long> parseInteger(const std::string& text) {
    long value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::pair<double, double>> parsePair(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    const auto first = parseNumber(text.substr(0, comma));
    const auto second = parseNumber(text.substr(comma + 1));
    if (!first || !second) {
        return std::nullopt;
    }
    return std::pair{*first, *second};
}

}  // namespace tavrok::cli
