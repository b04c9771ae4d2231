#pragma once

#include "cli/options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <functional>
#include <set>
#include <vector>

namespace cli {

// The one table of the command line's options: each option's names, help
// text and value, which groups it belongs to, what a value of it must be,
// and where it goes in Options; and the rules of which options go together,
// checked in order, the first broken one reported. It reads arguments into
// Options and gives the help text; running what they ask is the commands'.
//
// Adding an option is a row in rows() (and its field in Options); adding a
// pairing is a line in rules().
class OptionTable {
public:
    OptionTable();

    // Reads the arguments (the program's name first). Throws UsageError for
    // an option it does not know, a stray argument, a value that cannot be
    // taken or options that do not go together.
    Options parse(const QStringList& arguments);
    QString helpText() const;

private:
    using Given = std::set<Option>;
    // What a group of options does, for the rules.
    enum Group : unsigned {
        Drawing = 1u << 0,  // draws text: none goes with the wiring test
        MakesSketch = 1u << 1, // makes or writes a sketch: none goes with --sketch
        Board = 1u << 2,    // the real board's options
    };
    struct Row {
        Option option;
        QCommandLineOption line;
        unsigned groups = 0;
        // Why a given value cannot be taken, or an empty string.
        std::function<QString(const QString& value, const Given& given)> problem;
        // Puts the option's values into the options.
        std::function<void(Options& options, const QStringList& values)> store;
    };
    struct Rule {
        enum class Kind {
            Excludes, // option goes with none of others; %1 in text names the one given
            Requires, // option goes only with others[0]
            Valid,    // option's value can be taken (its row says what is wrong)
        };
        Kind kind;
        Option option;
        std::vector<Option> others;
        QString text;
    };

    static std::vector<Row> rows();
    static std::vector<Row> textRows();
    static std::vector<Row> sketchRows();
    static std::vector<Row> toolRows();
    std::vector<Rule> rules() const;
    std::vector<Option> members(unsigned group) const;
    const Row& row(Option option) const;
    void check(const Rule& rule, const Given& given) const;
    static Options::Command commandFor(const Given& given);

    std::vector<Row> m_rows;
    QCommandLineParser m_parser;
};

} // namespace cli
