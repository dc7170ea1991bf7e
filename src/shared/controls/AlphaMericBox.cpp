#include "shared/controls/AlphaMericBox.h"

#include "records/DataObject.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSet>
#include <QStringListModel>
#include <QValidator>

namespace {

Q_LOGGING_CATEGORY(lcBox, "zorva.controls")

// QLineEdit's own limit, used when the box has none.
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

// The only hook QLineEdit offers where typed, pasted and dropped text can be changed before it
// lands: a validator may rewrite its input.
class BoxRules : public QValidator
{
public:
    explicit BoxRules(const AlphaMericBox *box) : QValidator(const_cast<AlphaMericBox *>(box)), m_box(box) {}

    State validate(QString &input, int &) const override
    {
        if (m_box->DataType() == AlphaMericBox::DataNumeric && !AllDigits(input))
            return Invalid;
        input = ApplyCase(input, m_box->CaseType());
        return Acceptable;
    }

private:
    const AlphaMericBox *m_box;
};

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

AlphaMericBox::AlphaMericBox(QWidget *parent)
    : QLineEdit(parent), m_suggestions(new QStringListModel(this)),
      m_completer(new QCompleter(m_suggestions, this))
{
    setValidator(new BoxRules(this));
    // The list is already narrowed by the statement; the pop-up shows it as it came.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setWidget(this);

    connect(this, &QLineEdit::textChanged, this, [this] { emit Change(); });
    connect(this, &QLineEdit::textEdited, this, &AlphaMericBox::OnTextEdited);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this,
            &AlphaMericBox::OnSuggestionChosen);
    ApplyRules();
}

AlphaMericBox::~AlphaMericBox() = default;

void AlphaMericBox::SetCaseType(int caseType)
{
    m_caseType = caseType;
    ApplyRules();
}

void AlphaMericBox::SetDataType(int dataType)
{
    m_dataType = dataType;
    ApplyRules();
}

void AlphaMericBox::SetAlignment(int alignment)
{
    m_alignment = alignment;
    ApplyRules();
}

void AlphaMericBox::SetMaxLength(int maxLength)
{
    m_maxLength = qMax(0, maxLength);
    ApplyRules();
}

void AlphaMericBox::SetRecordSource(const QString &statement)
{
    m_recordSource = statement;
    if (!m_recordSource.isEmpty() && !m_lookup) {
        m_lookup = new DataObject(this);
        connect(m_lookup, &DataObject::Error, this, &AlphaMericBox::OnLookupError);
    }
}

void AlphaMericBox::SetMinCharsToActivate(int count)
{
    m_minChars = qMax(1, count);
}

void AlphaMericBox::SetText(const QString &text)
{
    setText(Conform(text));
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
    return result.left(maxLength());
}

void AlphaMericBox::ApplyRules()
{
    int limit = m_maxLength > 0 ? m_maxLength : NoLimit;
    if (m_dataType == DataNumeric)
        limit = qMin(limit, MaxDigits);
    setMaxLength(limit);

    switch (m_alignment) {
    case AlignRight:
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case AlignCenter:
        setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        break;
    default:
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }

    const QString conformed = Conform(text());
    if (conformed != text())
        setText(conformed);
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
