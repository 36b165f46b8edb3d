#include "journal/journal.h"

#include <QDateTime>
#include <QString>
#include <cstdlib>
#include <limits>
#include <utility>

#include "platform/appended_file.h"

namespace tavlo {

namespace {

// Lines end as the system's text files do.
#ifdef _WIN32
constexpr std::string_view kLineEnd = "\r\n";
#else
constexpr std::string_view kLineEnd = "\n";
#endif

// Enough of the journal's end for its last two lines.
constexpr std::size_t kEndBytes = 4096;

// The local time to the second, ISO 8601, with its offset from UTC.
std::string Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2:%3")
                             .arg(QChar(offset < 0 ? u'-' : u'+'))
                             .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
    return (now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + zone).toStdString();
}

std::string YesNo(bool stored)
{
    return stored ? "yes" : "no";
}

}  // namespace

std::unique_ptr<Journal> Journal::IfAsked(platform::FileRef journal, platform::FileRef settings,
                                          std::string displayPath)
{
    const platform::FileContents end = platform::ReadFileEnd(journal, kEndBytes);
    if (end.status == platform::FileReadStatus::Missing)
        return nullptr;
    std::unique_ptr<Journal> made(new Journal(std::move(journal), std::move(settings), std::move(displayPath)));
    if (end.status == platform::FileReadStatus::Ok)
        made->m_chain = journal::FindChainEnd(end.bytes);
    else
        made->m_stopped = true;
    // A last line that is no journal line breaks the chain: the run is still
    // recorded, its chain starting again (the checker shows where), and the
    // organiser is told.
    made->m_troubled = made->m_stopped || made->m_chain.unreadable;
    return made;
}

Journal::Journal(platform::FileRef journal, platform::FileRef settings, std::string displayPath)
    : m_file(std::move(journal)), m_settings(std::move(settings)), m_displayPath(std::move(displayPath))
{
}

Journal::~Journal()
{
    Append("CLOSE", "ini=" + SettingsHash());
}

void Journal::Opened(int rangeMin, int rangeMax, int draws)
{
    Append("OPEN", "version=" TAVLO_VERSION " from=" + std::to_string(rangeMin) + " to=" + std::to_string(rangeMax)
                       + " draws=" + std::to_string(draws) + " ini=" + SettingsHash());
}

void Journal::RangeSet(int rangeMin, int rangeMax, bool stored)
{
    Append("RANGE",
           "from=" + std::to_string(rangeMin) + " to=" + std::to_string(rangeMax) + " stored=" + YesNo(stored));
}

void Journal::Drawn(int ordinal, int number, bool stored)
{
    Append("DRAW",
           "ordinal=" + std::to_string(ordinal) + " number=" + std::to_string(number) + " stored=" + YesNo(stored));
}

void Journal::Cleared(int forgotten, bool stored)
{
    Append("CLEAR", "forgotten=" + std::to_string(forgotten) + " stored=" + YesNo(stored));
}

void Journal::CaughtUp(int draws)
{
    Append("CAUGHT-UP", "draws=" + std::to_string(draws));
}

std::optional<std::string> Journal::TakeFailure()
{
    if (!m_troubled || m_reported)
        return std::nullopt;
    m_reported = true;
    return m_displayPath;
}

void Journal::Append(std::string_view event, std::string fields)
{
    if (m_stopped)
        return;
    if (m_chain.tornAfter)
        fields += " torn=1";
    if (m_chain.unreadable)
        fields += " restart=1";
    const std::string line = journal::MakeLine(m_chain.sequence + 1, Now(), event, fields, m_chain.hash);
    // The torn line gets its line end first, so that it stays a line of its own.
    std::string bytes = m_chain.tornAfter ? std::string(kLineEnd) : std::string();
    bytes.append(line).append(kLineEnd);
    // A line that could not be written may stand torn in the file; the next
    // run goes on from the line before it.
    if (!platform::AppendDurably(m_file, bytes)) {
        m_stopped = m_troubled = true;
        return;
    }
    m_chain = journal::FindChainEnd(line + std::string(kLineEnd));
}

std::string Journal::SettingsHash() const
{
    const platform::FileContents file = platform::ReadFileEnd(m_settings, std::numeric_limits<std::size_t>::max());
    switch (file.status) {
        case platform::FileReadStatus::Ok:
            return journal::Sha256Hex(file.bytes);
        case platform::FileReadStatus::Missing:
            return "missing";
        case platform::FileReadStatus::Failed:
            break;
    }
    return "unreadable";
}

}  // namespace tavlo
