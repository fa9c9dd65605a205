// The tester's output box: a read-only multi-line text box whose text() is
// exactly what was last written with setText().
//
// Qt's text document folds every line end into a paragraph break, so reading
// its plain text back would turn CR LF into LF. The box therefore keeps its
// text verbatim and shows it through the document; the operator can select
// and copy but not type, so what is shown never drifts from text().
#pragma once

#include <QPlainTextEdit>
#include <QString>

class OutputBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit OutputBox(QWidget *parent = nullptr);

    QString text() const { return m_text; }

    // Replaces the whole text. The text ends at its first NUL character;
    // the caret goes to the start and the box shows its first line.
    void setText(QStringView text);

private:
    QString m_text;
};
