#pragma once

#include "records/CaseKey.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that does not hold: say which, and abort, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: does not hold: %s\n", __FILE__, __LINE__, #condition);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

inline QString FromFuzzer(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

inline bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
inline bool IsAsciiUpper(QChar c) { return c >= u'A' && c <= u'Z'; }

inline QString Padded(int value, int width) { return QString::number(value).rightJustified(width, u'0'); }

// What every key CaseKey::Parse hands out is, whatever it was read from: a year of four digits,
// a type of a letter and maybe a letter or digit, upper case, a sequence of at most six digits;
// and written out in full it reads back as itself.
inline void CheckKey(const CaseKey &key)
{
    FUZZ_CHECK(key.year >= 1 && key.year <= 9999);
    FUZZ_CHECK(key.type.size() == 1 || key.type.size() == 2);
    FUZZ_CHECK(IsAsciiUpper(key.type.at(0)));
    FUZZ_CHECK(key.type.size() == 1 || IsAsciiUpper(key.type.at(1)) || IsAsciiDigit(key.type.at(1)));
    FUZZ_CHECK(key.sequence >= 1 && key.sequence <= 999999);
    const QString full = Padded(key.year, 4) + u'-' + key.type + u'-' + Padded(key.sequence, 6);
    FUZZ_CHECK(CaseKey::Parse(full) == key);
}
