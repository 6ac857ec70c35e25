#include "platform/gui/QtBoxTextView.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace {

constexpr QChar WordJoiner(0x2060);

} // namespace

TQtBoxTextView::TQtBoxTextView(const QString& text, QWidget* parent) : QTextEdit(parent), FText(text)
{
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // It reads as the box's own text, as a label would: on the window's background.
    viewport()->setAutoFillBackground(false);
    QPalette colours = palette();
    colours.setBrush(QPalette::Text, colours.windowText());
    setPalette(colours);
    document()->setDocumentMargin(0);
    Show({});
}

int TQtBoxTextView::WrapAt(int width, const std::vector<qsizetype>& joins)
{
    Show(joins);
    setLineWrapColumnOrWidth(width);
    document()->setTextWidth(width);
    return static_cast<int>(std::ceil(document()->size().height()));
}

void TQtBoxTextView::Show(const std::vector<qsizetype>& joins)
{
    // The document counts "\r\n" as one block separator, every other character as itself.
    QString shown;
    shown.reserve(FText.size() + static_cast<qsizetype>(joins.size()));
    FTextIndex.clear();
    auto join = joins.begin();
    for (qsizetype at = 0; at < FText.size();) {
        if (join != joins.end() && *join == at) {
            shown += WordJoiner;
            FTextIndex.push_back(at);
            ++join;
        }
        const bool pair =
            FText[at] == QLatin1Char('\r') && at + 1 < FText.size() && FText[at + 1] == QLatin1Char('\n');
        shown += FText.mid(at, pair ? 2 : 1);
        FTextIndex.push_back(at);
        at += pair ? 2 : 1;
    }
    FTextIndex.push_back(FText.size());
    setPlainText(shown);
}

QString TQtBoxTextView::SelectedText() const
{
    const QTextCursor cursor = textCursor();
    const auto index = [this](int position) {
        return FTextIndex[std::clamp<std::size_t>(position, 0, FTextIndex.size() - 1)];
    };
    const qsizetype start = index(cursor.selectionStart());
    return FText.mid(start, index(cursor.selectionEnd()) - start);
}

void TQtBoxTextView::Select(qsizetype from, qsizetype to)
{
    const auto position = [this](qsizetype index) {
        return static_cast<int>(std::lower_bound(FTextIndex.begin(), FTextIndex.end(), index) - FTextIndex.begin());
    };
    QTextCursor cursor(document());
    cursor.setPosition(position(from));
    cursor.setPosition(position(to), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QMimeData* TQtBoxTextView::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(SelectedText());
    return data;
}
