#pragma once

#include <QString>

namespace modFormatCaseNumber {

// "2005-CR-000123", "2005-CV-000045-PL-002"; without dashes "2005CR000123".
QString FormatCaseNumber(qint16 year, const QString &caseType, qint32 sequence, const QString &litigantType,
                         qint16 litigant, bool withDashes);
// "-" with dashes, else empty.
QString CaseNumberSeparator(bool withDashes);

} // namespace modFormatCaseNumber
