#include "shared/controls/AlphaMericBox.h"

#include "records/DataObject.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSet>
#include <QStringListModel>
#include <QValidator>

namespace {

Q_LOGGING_CATEGORY(lcBox, "zorva.controls")

// QLineEdit's own limit, the most any box holds; the box's own limit is kept by its rules.
constexpr int NoLimit = 32767;
// The most digits a 64-bit whole number always holds.
constexpr int MaxDigits = 18;

bool AllDigits(const QString &text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString ApplyCase(const QString &text, int caseType)
{
    switch (caseType) {
    case AlphaMericBox::CaseUpper:
        return text.toUpper();
    case AlphaMericBox::CaseLower:
        return text.toLower();
    default:
        return text;
    }
}

// The column the suggestions come from: the first one the statement selects, by its alias if it
// has one. DataObject reads fields by name only.
QString FirstColumnName(const QString &statement)
{
    static const QRegularExpression select(QStringLiteral(R"(^\s*select\s+(?:distinct\s+)?(.+?)\s+from\s)"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = select.match(statement);
    if (!m.hasMatch())
        return {};
    QString column = m.captured(1).section(QLatin1Char(','), 0, 0).trimmed();
    static const QRegularExpression alias(QStringLiteral(R"(\s+as\s+)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QStringList parts = column.split(alias);
    column = parts.last().trimmed();
    return column.section(QLatin1Char('.'), -1);
}

} // namespace

// The only hook QLineEdit offers where typed, pasted and dropped text can be changed before it
// lands: a validator may rewrite its input. It gets the whole text after the edit, so the part
// the user entered is told apart from the text that was there by the cursor, which ends it.
class AlphaMericBox::Rules : public QValidator
{
public:
    explicit Rules(AlphaMericBox *box) : QValidator(box), m_box(box) {}

    State validate(QString &input, int &pos) const override
    {
        if (m_box->m_storing)
            return Acceptable;
        const QString &before = m_box->m_accepted;
        const qsizetype kept = input.size() - pos; // what follows the cursor was there before
        qsizetype start = 0;
        const qsizetype most = qMin<qsizetype>(pos, before.size() - kept);
        while (start < most && input.at(start) == before.at(start))
            ++start;
        QString entered = input.mid(start, pos - start);
        if (m_box->DataType() == AlphaMericBox::DataNumeric && !AllDigits(entered))
            return Invalid;
        // The limit holds back what is entered; a longer stored value stays whole and may be
        // corrected within its own length.
        const qsizetype room = qMax<qsizetype>(m_box->Limit(), m_box->m_storedSize) - (input.size() - entered.size());
        // A keystroke the limit refuses whole changes nothing, and says nothing.
        if (!entered.isEmpty() && room <= 0)
            return Invalid;
        entered = ApplyCase(entered.left(room), m_box->CaseType());
        input = input.left(start) + entered + input.mid(pos);
        pos = static_cast<int>(start + entered.size());
        return Acceptable;
    }

private:
    AlphaMericBox *m_box;
};

AlphaMericBox::AlphaMericBox(QWidget *parent)
    : QLineEdit(parent), m_suggestions(new QStringListModel(this)),
      m_completer(new QCompleter(m_suggestions, this))
{
    setValidator(new Rules(this));
    // The list is already narrowed by the statement; the pop-up shows it as it came.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setWidget(this);

    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_accepted = text;
        emit Change();
    });
    connect(this, &QLineEdit::textEdited, this, &AlphaMericBox::OnTextEdited);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this,
            &AlphaMericBox::OnSuggestionChosen);
}

AlphaMericBox::~AlphaMericBox() = default;

// The rules are the window design's: set before any text, which they then conform.
void AlphaMericBox::SetCaseType(int caseType)
{
    m_caseType = caseType;
}

void AlphaMericBox::SetDataType(int dataType)
{
    m_dataType = dataType;
}

void AlphaMericBox::SetAlignment(int alignment)
{
    setAlignment((alignment == AlignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void AlphaMericBox::SetMaxLength(int maxLength)
{
    m_maxLength = qMax(0, maxLength);
}

void AlphaMericBox::SetRecordSource(const QString &statement, const QString &role)
{
    m_recordSource = statement;
    if (!m_recordSource.isEmpty() && !m_lookup) {
        m_lookup = new DataObject(this, role);
        connect(m_lookup, &DataObject::Error, this, &AlphaMericBox::OnLookupError);
    }
}

void AlphaMericBox::SetMinCharsToActivate(int count)
{
    m_minChars = qMax(1, count);
}

void AlphaMericBox::SetText(const QString &text)
{
    m_storedSize = 0;
    setText(Conform(text));
}

void AlphaMericBox::SetStoredText(const QString &text)
{
    m_storing = true;
    setText(text);
    m_storing = false;
    m_storedSize = text.size();
}

qint64 AlphaMericBox::Value() const
{
    bool ok = false;
    const qint64 value = text().trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

void AlphaMericBox::SetValue(qint64 value)
{
    // A digits-only box has no sign to show.
    if (m_dataType == DataNumeric && value < 0)
        value = 0;
    SetText(QString::number(value));
}

QString AlphaMericBox::Conform(const QString &text) const
{
    QString result = ApplyCase(text, m_caseType);
    if (m_dataType == DataNumeric)
        result.removeIf([](QChar c) { return c < QLatin1Char('0') || c > QLatin1Char('9'); });
    return result.left(Limit());
}

int AlphaMericBox::Limit() const
{
    const int limit = m_maxLength > 0 ? m_maxLength : NoLimit;
    return m_dataType == DataNumeric ? qMin(limit, MaxDigits) : limit;
}

void AlphaMericBox::focusInEvent(QFocusEvent *e)
{
    m_zeroOnEntry = m_dataType == DataNumeric && text() == QLatin1String("0");
    QLineEdit::focusInEvent(e);
}

void AlphaMericBox::keyPressEvent(QKeyEvent *e)
{
    // A number box entered showing 0 (no value) is entered to type a value: the first digit
    // replaces the 0 wherever a click left the cursor, so 1330 never becomes 0133. A 0 the user
    // typed stays (0930).
    static const QSet<int> modifiers{Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta};
    if (modifiers.contains(e->key())) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (m_zeroOnEntry && text() == QLatin1String("0") &&
        (e->matches(QKeySequence::Paste) || (e->text().size() == 1 && AllDigits(e->text()))))
        selectAll();
    m_zeroOnEntry = false;
    QLineEdit::keyPressEvent(e);
}

void AlphaMericBox::OnTextEdited(const QString &text)
{
    emit Edited(text);
    Offer(text);
}

void AlphaMericBox::OnSuggestionChosen(const QString &text)
{
    const QString chosen = Conform(text);
    if (chosen == this->text())
        return;
    setText(chosen);
    // Picking an entry is the user's edit, though it reaches the box as a whole new text.
    emit Edited(chosen);
}

void AlphaMericBox::Offer(const QString &typed)
{
    if (!m_lookup || m_recordSource.isEmpty() || typed.size() < m_minChars) {
        m_completer->popup()->hide();
        return;
    }

    const QString column = FirstColumnName(m_recordSource);
    m_lookup->Execute(m_recordSource, QVariantList{typed + QLatin1Char('%')});

    QStringList entries;
    QSet<QString> seen;
    // A failed lookup leaves no rows (its error is logged by OnLookupError). The table holds one
    // row per folder, so a party with many folders comes back many times.
    for (; !m_lookup->Eof(); m_lookup->MoveNext()) {
        const QString entry = Conform(m_lookup->Field(column).toString());
        if (!entry.isEmpty() && !seen.contains(entry)) {
            seen.insert(entry);
            entries << entry;
        }
    }
    m_lookup->Close();

    m_suggestions->setStringList(entries);
    if (entries.isEmpty())
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void AlphaMericBox::OnLookupError(qint32 number, const QString &description)
{
    qCWarning(lcBox).noquote() << "Suggestions for" << objectName() << "not available:" << number
                               << description;
}
