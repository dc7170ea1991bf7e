// CaseKey::Parse reads what a clerk types, a scanner sends or a host passes in.
#include "FuzzCheck.h"

namespace {

bool IsAsciiSpace(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FromFuzzer(data, size);
    const std::optional<CaseKey> key = CaseKey::Parse(text);
    if (!key)
        return 0;
    CheckKey(*key);

    // Nothing but ASCII digits, letters, hyphens and blanks gets through.
    for (const QChar c : text)
        FUZZ_CHECK(c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'-' || IsAsciiSpace(c)));

    // The year is the first four characters and the sequence the digits at the end.
    const QString trimmed = text.trimmed();
    FUZZ_CHECK(trimmed.left(4) == Padded(key->year, 4));
    qsizetype digits = 0;
    while (digits < trimmed.size() && IsAsciiDigit(trimmed.at(trimmed.size() - 1 - digits)))
        ++digits;
    FUZZ_CHECK(digits >= 1 && digits <= 6);
    FUZZ_CHECK(trimmed.right(digits).toInt() == key->sequence);

    // Letter case and the blanks around it change nothing.
    FUZZ_CHECK(CaseKey::Parse(text.toLower()) == key);
    FUZZ_CHECK(CaseKey::Parse(text.toUpper()) == key);
    FUZZ_CHECK(CaseKey::Parse(QStringLiteral(" \t") + text + QStringLiteral("\r\n")) == key);

    // The other two forms of the same case read as the same key; run together only a type of
    // letters can be told from the sequence.
    FUZZ_CHECK(CaseKey::Parse(Padded(key->year, 4) + u' ' + key->type + u' ' + QString::number(key->sequence)) == key);
    if (!IsAsciiDigit(key->type.back()))
        FUZZ_CHECK(CaseKey::Parse(Padded(key->year, 4) + key->type + Padded(key->sequence, 6)) == key);
    return 0;
}
