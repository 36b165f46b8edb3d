#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace tavlo {

// Every "&" doubled, so a caption shows it rather than marking an access key.
QString EscapeAmpersand(const QString& text);
// Every "&&" made single, left to right without overlap.
QString UnescapeAmpersand(const QString& text);
// Without half-width (U+0020) and full-width (U+3000) spaces.
QString RemoveSpaces(const QString& text);
// True when the text is one or more of the ASCII digits 0-9 and nothing else.
bool IsDigitsOnly(const QString& text);

// Selects `length` characters from `start` in a text box or an editable combo
// box; a negative length selects to the end. Other controls: nothing.
void SelectText(QWidget* control, std::int16_t start, std::int16_t length);

}  // namespace tavlo
