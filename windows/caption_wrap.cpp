#include "windows/caption_wrap.h"

#include <QTextLayout>
#include <QTextOption>
#include <vector>

namespace linkcalc::windows {
namespace {

// Where each line of the wrapped text starts.
std::vector<int> LineStarts(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    std::vector<int> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        starts.push_back(line.textStart());
    }
    layout.endLayout();
    return starts;
}

// Splits at the given starts and trims every piece.
QStringList Pieces(const QString& text, const std::vector<int>& starts) {
    QStringList pieces;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const int end = i + 1 < starts.size() ? starts[i + 1] : static_cast<int>(text.size());
        pieces << text.mid(starts[i], end - starts[i]).trimmed();
    }
    return pieces;
}

}  // namespace

QStringList WrappedLines(const QString& caption, const QFont& font, int width) {
    return Pieces(caption, LineStarts(caption, font, width));
}

QString ShownCaption(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

QString WrappedButtonCaption(const QString& caption, const QFont& font, int buttonWidth) {
    const QString shown = ShownCaption(caption);
    const std::vector<int> shownStarts =
        LineStarts(shown, font, buttonWidth - 2 * kButtonCaptionMargin);

    // Carry each line start over to the caption with its "&" marks.
    std::vector<int> starts;
    int shownIndex = 0;
    std::size_t next = 0;
    for (qsizetype i = 0; i < caption.size() && next < shownStarts.size(); ++i) {
        if (shownIndex == shownStarts[next]) {
            starts.push_back(static_cast<int>(i));
            ++next;
        }
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        ++shownIndex;
    }
    // A caption on one line is drawn as it is, blanks included, as the button centres it.
    if (starts.size() <= 1) return caption;
    return Pieces(caption, starts).join(u'\n');
}

}  // namespace linkcalc::windows
