#include "journal/journal_line.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace tavlo::journal {

namespace {

constexpr std::string_view kHashField = " hash=";

bool IsHex(std::string_view text)
{
    return text.size() == kNoHash.size() && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The line's sequence and hash, when it is a whole journal line whose hash is
// that of its text.
bool Parse(std::string_view line, ChainEnd& end)
{
    const auto at = line.rfind(kHashField);
    if (at == std::string_view::npos || !IsHex(line.substr(at + kHashField.size()))
        || Sha256Hex(line.substr(0, at)) != line.substr(at + kHashField.size()))
        return false;
    const auto space = line.find(' ');
    const std::string_view number = line.substr(0, space);
    if (number.empty() || number.size() > 18 || number.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    end.sequence = std::stoll(std::string(number));
    end.hash = std::string(line.substr(at + kHashField.size()));
    return true;
}

}  // namespace

std::string Sha256Hex(std::string_view text)
{
    const QByteArray digest = QCryptographicHash::hash(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
                                                       QCryptographicHash::Sha256);
    return digest.toHex().toStdString();
}

ChainEnd FindChainEnd(std::string_view end)
{
    ChainEnd chain;
    if (end.empty())
        return chain;
    // A last line without its line end was cut by a crash; it stays, and the
    // chain goes on from the whole line before it.
    std::size_t stop = end.size();
    if (end.back() != '\n') {
        chain.tornAfter = true;
        stop = end.rfind('\n');
        if (stop == std::string_view::npos)
            return chain;  // the journal's first line was torn
        stop += 1;
    }
    std::string_view whole = end.substr(0, stop - 1);
    if (!whole.empty() && whole.back() == '\r')
        whole.remove_suffix(1);
    const auto start = whole.rfind('\n');
    const std::string_view line = start == std::string_view::npos ? whole : whole.substr(start + 1);
    if (!Parse(line, chain)) {
        chain = ChainEnd{};
        chain.unreadable = true;
    }
    return chain;
}

std::string MakeLine(long long sequence, std::string_view time, std::string_view event, std::string_view fields,
                     std::string_view previous)
{
    std::string text = std::to_string(sequence);
    text.append(" ").append(time).append(" ").append(event);
    if (!fields.empty())
        text.append(" ").append(fields);
    text.append(" prev=").append(previous);
    return text + std::string(kHashField) + Sha256Hex(text);
}

}  // namespace tavlo::journal
