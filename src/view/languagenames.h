#pragma once

#include <QString>

// English names of the language and country numbers used in the codes of the
// language files ("lang_" + 3 digits language + 3 digits country + ".ini").
// The numbering is the one the language files have always used; numbers
// without a name give "Unknown".
namespace languagenames {
QString language(int number);
QString country(int number);
} // namespace languagenames
