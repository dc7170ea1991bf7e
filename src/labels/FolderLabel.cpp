#include "FolderLabel.h"

#include "util/modFormatCaseNumber.h"

namespace {

// The formatter pads a one-letter type to two positions with a blank; on a label the blank
// would end the number for a scanner's reader.
QString Joined(const CaseKey &key, bool withDashes)
{
    QString text = modFormatCaseNumber::FormatCaseNumber(key.year, key.type.trimmed(), key.sequence, QString(), 0, withDashes);
    return text.remove(QLatin1Char(' '));
}

} // namespace

QString FolderLabel::BarcodeText(const CaseKey &key)
{
    const QString joined = Joined(key, false);
    const CaseKey shown{key.year, key.type.trimmed().toUpper(), key.sequence};
    return CaseKey::Parse(joined) == std::optional(shown) ? joined : Joined(key, true);
}

QString FolderLabel::Dashed(const CaseKey &key) { return Joined(key, true); }
