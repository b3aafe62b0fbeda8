#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace linkcalc::windows {

// Space a button keeps free on each side of its caption: its 3-D edge and the focus frame.
inline constexpr int kButtonCaptionMargin = 4;

// The lines of a caption wrapped at blanks within a width, as a label draws them, each
// without its leading and trailing blanks. A word wider than the width gets a line of its own.
QStringList WrappedLines(const QString& caption, const QFont& font, int width);

// A button caption broken into the lines it shows ("\n" between them), each without its leading
// and trailing blanks; a caption that fits on one line stays as it is. "&" marks stay in place.
QString WrappedButtonCaption(const QString& caption, const QFont& font, int buttonWidth);

// The caption as shown, without the "&" that marks an access key ("&&" shows one "&").
QString ShownCaption(const QString& caption);

}  // namespace linkcalc::windows
