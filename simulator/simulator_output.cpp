#include "simulator/simulator_output.h"

#include <QList>

#include <cstdio>
#include <limits>

namespace simulator {

namespace {

using Kind = SimulatorOutput::Fault::Kind;

struct KindName {
    Kind kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {Kind::Crashed, "crashed"},   {Kind::InvalidOpcode, "invalid-opcode"}, {Kind::Restarted, "restarted"},
    {Kind::Resets, "resets"},     {Kind::Asleep, "asleep"},                {Kind::NoColumns, "no-columns"},
};

constexpr char kHex[] = "0123456789abcdef";

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    return -1;
}

// A whole field as a number (hex with or without 0x); false for anything else.
template <typename Number>
bool number(QStringView text, Number& value, int base = 10)
{
    if (base == 16 && text.startsWith(u"0x")) {
        text = text.mid(2);
    }
    if (text.isEmpty() || text.size() > 15) {
        return false;
    }
    std::uint64_t result = 0;
    for (QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0 || digit >= base) {
            return false;
        }
        result = result * std::uint64_t(base) + std::uint64_t(digit);
    }
    if (result > std::uint64_t(std::numeric_limits<Number>::max())) {
        return false;
    }
    value = static_cast<Number>(result);
    return true;
}

// A line that says only when: the tag, then the simulated time.
std::string timeLine(const char* tag, std::uint64_t microseconds)
{
    return std::string(tag) + ' ' + std::to_string(microseconds) + '\n';
}

} // namespace

std::string SimulatorOutput::wiringLine(Wiring wiring)
{
    if (wiring.both) {
        return "wiring KF+BA\n";
    }
    return wiring.ports == generation::PortWiring::PortsKF ? "wiring KF\n" : "wiring BA\n";
}

std::string SimulatorOutput::frameText(const Frame& frame)
{
    std::string text = std::to_string(frame.microseconds);
    text.reserve(text.size() + kColumns * 5);
    for (std::uint16_t word : frame.words) {
        const char digits[] = {' ', kHex[word >> 12], kHex[(word >> 8) & 15], kHex[(word >> 4) & 15], kHex[word & 15]};
        text.append(digits, sizeof digits);
    }
    return text;
}

std::string SimulatorOutput::frameLine(const Frame& frame)
{
    return "frame " + frameText(frame) + '\n';
}

std::string SimulatorOutput::lightLine(const Light& light)
{
    std::string text = "light " + std::to_string(light.microseconds) + ' ';
    text.reserve(text.size() + light.levels.size() + 1);
    for (std::uint8_t level : light.levels) {
        text += kHex[level & 15];
    }
    text += '\n';
    return text;
}

std::string SimulatorOutput::darkLine(std::uint64_t microseconds)
{
    return timeLine("dark", microseconds);
}

std::string SimulatorOutput::faultLine(const Fault& fault)
{
    const char* name = "crashed";
    for (const KindName& entry : kKindNames) {
        if (entry.kind == fault.kind) {
            name = entry.name;
        }
    }
    char address[16];
    std::snprintf(address, sizeof address, "0x%05x", static_cast<unsigned>(fault.address));
    return std::string("fault ") + name + ' ' + std::to_string(fault.microseconds) + ' ' + address + ' '
           + std::to_string(fault.restarts) + '\n';
}

std::string SimulatorOutput::progressLine(std::uint64_t microseconds)
{
    return timeLine("progress", microseconds);
}

std::string SimulatorOutput::endLine(std::uint64_t microseconds)
{
    return timeLine("end", microseconds);
}

std::string SimulatorOutput::errorLine(const std::string& text)
{
    return "error " + text + '\n';
}

std::vector<SimulatorOutput::Event> SimulatorOutput::read(QStringView text)
{
    std::vector<Event> events;
    m_partial += text;
    qsizetype start = 0;
    for (qsizetype end = m_partial.indexOf(u'\n'); end >= 0; end = m_partial.indexOf(u'\n', start)) {
        events.push_back(parse(QStringView(m_partial).mid(start, end - start)));
        start = end + 1;
    }
    m_partial.remove(0, start);
    return events;
}

SimulatorOutput::Event SimulatorOutput::parse(QStringView line)
{
    const qsizetype space = line.indexOf(u' ');
    const QStringView tag = line.left(space);
    const QStringView rest = space < 0 ? QStringView() : line.mid(space + 1);
    Event event;
    if (!parseFields(tag, rest, event)) {
        event = Unreadable{line.toString()};
    }
    return event;
}

bool SimulatorOutput::parseFields(QStringView tag, QStringView rest, Event& event)
{
    using generation::PortWiring;
    if (tag == u"wiring") {
        if (rest == u"KF") {
            event = Wiring{PortWiring::PortsKF, false};
        } else if (rest == u"BA") {
            event = Wiring{PortWiring::PortsBA, false};
        } else if (rest == u"KF+BA") {
            event = Wiring{PortWiring::PortsKF, true};
        } else {
            return false;
        }
        return true;
    }
    const auto fields = rest.split(u' ');
    if (tag == u"frame") {
        Frame frame;
        if (fields.size() != kColumns + 1 || !number(fields[0], frame.microseconds)) {
            return false;
        }
        for (int column = 0; column < kColumns; ++column) {
            if (fields[column + 1].size() != 4 || !number(fields[column + 1], frame.words[std::size_t(column)], 16)) {
                return false;
            }
        }
        event = frame;
        return true;
    }
    if (tag == u"light") {
        Light light;
        if (fields.size() != 2 || fields[1].size() != qsizetype(light.levels.size())
            || !number(fields[0], light.microseconds)) {
            return false;
        }
        for (std::size_t i = 0; i < light.levels.size(); ++i) {
            const int level = hexDigit(fields[1][qsizetype(i)]);
            if (level < 0) {
                return false;
            }
            light.levels[i] = static_cast<std::uint8_t>(level);
        }
        event = light;
        return true;
    }
    if (tag == u"fault") {
        Fault fault;
        bool known = false;
        for (const KindName& entry : kKindNames) {
            if (!fields.isEmpty() && fields[0] == QLatin1String(entry.name)) {
                fault.kind = entry.kind;
                known = true;
            }
        }
        if (!known || fields.size() != 4 || !number(fields[1], fault.microseconds)
            || !number(fields[2], fault.address, 16) || !number(fields[3], fault.restarts)) {
            return false;
        }
        event = fault;
        return true;
    }
    if (tag == u"dark" || tag == u"progress" || tag == u"end") {
        std::uint64_t microseconds = 0;
        if (!number(rest, microseconds)) {
            return false;
        }
        event = tag == u"dark"     ? Event(Dark{microseconds})
              : tag == u"progress" ? Event(Progress{microseconds})
                                   : Event(End{microseconds});
        return true;
    }
    if (tag == u"error") {
        event = Error{rest.toString()};
        return true;
    }
    return false;
}

} // namespace simulator
