// Reading a command line against the declaration of its arguments.
#include "options.h"

#include "geometry/recipe.h"

#include "catalogue/namematch.h"
#include "catalogue/tables.h"

#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>

namespace kesmora::inspect {

namespace {

// A whole number and nothing else: no blanks, no sign "+", no trailing characters.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// "a, b or c"
std::string wordList(const std::vector<Word>& words) {
    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i)
        out += (i == 0 ? "" : i + 1 == words.size() ? " oder " : ", ") + words[i].first;
    return out;
}

// "a|b|c", the value's name in the usage
std::string wordChoice(const std::vector<Word>& words) {
    std::string out;
    for (const Word& w : words)
        out += (out.empty() ? "" : "|") + w.first;
    return out;
}

bool isOption(const std::string& arg) {
    // "-" alone names standard output, not an option.
    return arg.size() > 1 && arg[0] == '-';
}

} // namespace

int CommandLine::number(const std::string& name, int otherwise) const {
    const auto it = values_.find(name);
    return it == values_.end() ? otherwise : std::get<int>(it->second);
}

Size CommandLine::size(const std::string& name, Size otherwise) const {
    const auto it = values_.find(name);
    return it == values_.end() ? otherwise : std::get<Size>(it->second);
}

Degrees CommandLine::degrees(const std::string& name, Degrees otherwise) const {
    const auto it = values_.find(name);
    return it == values_.end() ? otherwise : std::get<Degrees>(it->second);
}

std::string CommandLine::text(const std::string& name, const std::string& otherwise) const {
    const auto it = values_.find(name);
    return it == values_.end() ? otherwise : std::get<std::string>(it->second);
}

Options::Options(std::string command) : command_(std::move(command)) {}

Options& Options::add(Spec spec, std::vector<Spec>& to) {
    to.push_back(std::move(spec));
    return *this;
}

Options& Options::flag(const std::string& name) {
    return add({name, Kind::Flag, 0, 0, {}, {}, false}, options_);
}

Options& Options::whole(const std::string& name, int low, int high) {
    return add({name, Kind::Whole, low, high, "N", {}, false}, options_);
}

Options& Options::size(const std::string& name, int low, int high, const std::string& unit) {
    return add({name, Kind::Size, low, high, unit, {}, false}, options_);
}

Options& Options::degrees(const std::string& name) {
    return add({name, Kind::Degrees, 0, 0, "XY,YZ,XZ", {}, false}, options_);
}

Options& Options::text(const std::string& name, const std::string& value) {
    return add({name, Kind::Text, 0, 0, value, {}, false}, options_);
}

Options& Options::choice(const std::string& name, std::vector<Word> words) {
    const std::string value = wordChoice(words);
    return add({name, Kind::Choice, 0, 0, value, std::move(words), false}, options_);
}

Options& Options::required() {
    options_.back().needed = true;
    return *this;
}

Options& Options::exclusive(const std::string& first, const std::string& second) {
    exclusive_.emplace_back(first, second);
    return *this;
}

Options& Options::check(std::function<void(const CommandLine&)> rule) {
    rules_.push_back(std::move(rule));
    return *this;
}

Options& Options::positional(const std::string& name, bool needed) {
    return add({name, Kind::Text, 0, 0, name, {}, needed}, positionals_);
}

Options& Options::positionalChoice(const std::string& name, std::vector<Word> words, bool needed) {
    return add({name, Kind::Choice, 0, 0, name, std::move(words), needed}, positionals_);
}

Options& Options::groups(std::vector<std::string> names, bool needed) {
    groupNames_ = std::move(names);
    groupNeeded_ = needed;
    return *this;
}

Options& Options::insteadOfPositionals() {
    insteadOfPositionals_ = options_.back().name;
    return *this;
}

Options& Options::stopAtFirstPositional() {
    stopAtFirstPositional_ = true;
    return *this;
}

const Options::Spec* Options::option(const std::string& name) const {
    for (const Spec& s : options_)
        if (s.name == name) return &s;
    return nullptr;
}

CommandLine::Value Options::read(const Spec& spec, const std::string& text) const {
    const std::string was = ", nicht " + quoted(text);
    switch (spec.kind) {
    case Kind::Flag:
        return true;
    case Kind::Whole: {
        const auto value = wholeNumber(text);
        if (!value || *value < spec.low || *value > spec.high)
            throw Usage(spec.name + " nimmt " + std::to_string(spec.low) + " bis " +
                        std::to_string(spec.high) + was);
        return *value;
    }
    case Kind::Size: {
        const std::size_t x = text.find('x');
        const auto width =
            x == std::string::npos ? std::nullopt : wholeNumber(std::string_view(text).substr(0, x));
        const auto height =
            x == std::string::npos ? std::nullopt : wholeNumber(std::string_view(text).substr(x + 1));
        auto inRange = [&](const std::optional<int>& v) { return v && *v >= spec.low && *v <= spec.high; };
        if (!inRange(width) || !inRange(height))
            throw Usage(spec.name + " nimmt BxH" + (spec.value.empty() ? "" : " in " + spec.value) +
                        ", jede Seite " + std::to_string(spec.low) + " bis " + std::to_string(spec.high) + was);
        return Size{*width, *height};
    }
    case Kind::Degrees: {
        // The catalogue's own strict number reading: no "nan" or "inf", nothing that overflows to
        // them, a decimal point under every locale.
        Degrees degrees{};
        std::size_t start = 0;
        for (std::size_t k = 0; k < degrees.size(); ++k) {
            const std::size_t comma = k + 1 < degrees.size() ? text.find(',', start) : text.size();
            const auto value = comma == std::string::npos
                                   ? std::nullopt
                                   : convertNumber(std::string_view(text).substr(start, comma - start));
            if (!value)
                throw Usage(spec.name +
                            " nimmt XY,YZ,XZ: drei endliche Zahlen in Grad, zum Beispiel 10,0,5" + was);
            degrees[k] = *value;
            start = comma + 1;
        }
        return degrees;
    }
    case Kind::Text:
        return text;
    case Kind::Choice:
        for (const Word& w : spec.words)
            if (w.first == text) return w.second;
        throw Usage(spec.name + " nimmt " + wordList(spec.words) + was);
    }
    return text;
}

Usage Options::positionalsAndTheirReplacement() const {
    std::string names;
    for (const Spec& p : positionals_)
        names += (names.empty() ? "" : " ") + p.name;
    const Spec& instead = *option(insteadOfPositionals_);
    return Usage(instead.name + " " + instead.value + " steht bei " + command_ + " an der Stelle von " + names +
                 "; bitte das eine oder das andere angeben, nicht beides");
}

CommandLine Options::parse(const std::vector<std::string>& args) const {
    CommandLine line;
    std::size_t positionals = 0;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && isOption(arg)) {
            const Spec* spec = option(arg);
            if (!spec) throw Usage("unbekannte Option " + arg + (command_.empty() ? "" : " für " + command_));
            if (spec->kind == Kind::Flag) {
                line.values_[arg] = true; // saying it twice changes nothing
                continue;
            }
            // Two values for one setting: which one was meant?
            if (line.given(arg)) throw Usage(arg + " zweimal angegeben");
            if (i + 1 >= args.size()) throw Usage(arg + " braucht einen Wert");
            line.values_[arg] = read(*spec, args[++i]);
            continue;
        }
        if (stopAtFirstPositional_) {
            line.rest_.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        if (positionals < positionals_.size()) {
            // Said at once where the option came first, rather than reading the argument as a
            // positional one gone wrong.
            if (!insteadOfPositionals_.empty() && line.given(insteadOfPositionals_))
                throw positionalsAndTheirReplacement();
            const Spec& spec = positionals_[positionals++];
            line.values_[spec.name] = read(spec, arg);
            continue;
        }
        if (groupNames_.empty())
            throw Usage(command_ + " nimmt kein weiteres Argument " + quoted(arg) +
                        (positionals_.empty() ? "" : " nach " + positionals_.back().name));
        std::vector<std::string> group{arg};
        for (std::size_t k = 1; k < groupNames_.size(); ++k) {
            if (i + 1 >= args.size())
                throw Usage(groupNames_[0] + " " + quoted(arg) + " fehlt " + groupNames_[k]);
            group.push_back(args[++i]);
        }
        line.groups_.push_back(std::move(group));
    }

    const bool replaced = !insteadOfPositionals_.empty() && line.given(insteadOfPositionals_);
    if (replaced && positionals > 0) throw positionalsAndTheirReplacement();
    std::string missing;
    for (std::size_t k = positionals; k < positionals_.size(); ++k)
        if (positionals_[k].needed) missing += " " + positionals_[k].name;
    if (!missing.empty() && !replaced) {
        if (positionals == 0 && !insteadOfPositionals_.empty()) {
            const Spec& instead = *option(insteadOfPositionals_);
            throw Usage(command_ + " braucht" + missing + " oder " + instead.name + " " + instead.value);
        }
        throw Usage(command_ + " braucht" + missing);
    }
    if (groupNeeded_ && line.groups_.empty()) {
        std::string names;
        for (const std::string& n : groupNames_)
            names += " " + n;
        throw Usage(command_ + " braucht mindestens ein" + names);
    }
    for (const Spec& spec : options_)
        if (spec.needed && !line.given(spec.name))
            throw Usage(command_ + " braucht " + spec.name + (spec.value.empty() ? "" : " " + spec.value));
    for (const auto& [first, second] : exclusive_)
        if (line.given(first) && line.given(second))
            throw Usage(first + " und " + second + " schließen einander aus; bitte nur eines angeben");
    for (const auto& rule : rules_)
        rule(line);
    return line;
}

double morphPosition(const CommandLine& line) {
    const std::string text = line.text("--morph");
    const std::optional<double> t = convertNumber(text);
    if (!t || !(*t >= 0 && *t <= 1))
        throw Usage("--morph nimmt T, eine Zahl von 0 (der Körper) bis 1 (sein dualer Körper), nicht \"" + text +
                    "\"");
    return *t;
}

Category categoryOf(const CommandLine& line) {
    const std::string text = line.text("KATEGORIE");
    if (const std::optional<Category> category = matchCategory(text)) return *category;
    throw Usage("KATEGORIE nimmt 0 (Polyeder), 2 (Archimedische Körper), 3 (Johnson Polyeder) oder den Namen "
                "der Kategorie, nicht \"" + text + "\"");
}

Options bodyCommand(const std::string& command, bool needed) {
    Options options(command);
    options.positional("KATEGORIE", needed)
        .positional("NAME", needed)
        .text("--file", "PFAD")
        .insteadOfPositionals()
        .text("--op", "REZEPT")
        .flag("--plain")
        .text("--morph", "T")
        .flag("--hidden")
        // Only the catalogue hides bodies.
        .exclusive("--file", "--hidden")
        .check([](const CommandLine& line) {
            // Not the current folder, nor a file without a name.
            if (line.given("--file") && line.text("--file").empty())
                throw Usage("--file nimmt einen PFAD, nicht \"\"");
            if (line.given("KATEGORIE")) categoryOf(line);
            if (line.given("--plain") && !line.given("--op")) throw Usage("--plain braucht --op REZEPT");
            if (line.given("--morph")) morphPosition(line);
            // A recipe that cannot be read is refused with the command line, naming the letter.
            if (line.given("--op")) {
                try {
                    parseRecipe(line.text("--op"));
                } catch (const RecipeError& e) {
                    throw Usage(e.what());
                }
            }
        });
    return options;
}

} // namespace kesmora::inspect
