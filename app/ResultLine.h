#pragma once
// The main window's one line about the last generate, or the NoLimits directory before one.
// A path in it is shortened from its start ("…/objects/demo") to fit the width, the sentence
// around it stays whole, and the whole text is in the tooltip.

#include <QLabel>
#include <QString>

class QFontMetrics;

namespace pw {

// `sentence` with its %1 replaced by `path`, as much of the path's end as fits `width` pixels:
// whole directories behind "…/" where one fits, else its last characters. Without a path (the
// sentence then has no %1), or where not even "…" of it fits, the whole text is cut at its end.
QString elidedSentence(const QString& sentence, const QString& path, const QFontMetrics& metrics,
                       int width);

}  // namespace pw

class ResultLine : public QLabel {
    Q_OBJECT

public:
    explicit ResultLine(QWidget* parent = nullptr);

    // `sentence` with %1 where `path` goes, or without a %1 and an empty path; `more` is added to
    // the tooltip on a line of its own.
    void setResult(const QString& sentence, const QString& path, const QString& more = {});
    // The whole text, as the tooltip says it.
    QString fullText() const { return path_.isEmpty() ? sentence_ : sentence_.arg(path_); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString sentence_;
    QString path_;
};
