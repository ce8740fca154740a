#include "languagenames.h"

#include <iterator>

namespace languagenames {

namespace {

// Index = language number.
const char *const kLanguages[] = {
    "Default", "C", "Abkhazian", "Oromo", "Afar", "Afrikaans", "Albanian", "Amharic",
    "Arabic", "Armenian", "Assamese", "Aymara", "Azerbaijani", "Bashkir", "Basque",
    "Bengali", "Bhutani", "Bihari", "Bislama", "Breton", "Bulgarian", "Burmese",
    "Byelorussian", "Cambodian", "Catalan", "Chinese", "Corsican", "Croatian", "Czech",
    "Danish", "Dutch", "English", "Esperanto", "Estonian", "Faroese", "Fiji", "Finnish",
    "French", "Frisian", "Gaelic", "Galician", "Georgian", "German", "Greek",
    "Greenlandic", "Guarani", "Gujarati", "Hausa", "Hebrew", "Hindi", "Hungarian",
    "Icelandic", "Indonesian", "Interlingua", "Interlingue", "Inuktitut", "Inupiak",
    "Irish", "Italian", "Japanese", "Javanese", "Kannada", "Kashmiri", "Kazakh",
    "Kinyarwanda", "Kirghiz", "Korean", "Kurdish", "Rundi", "Laothian", "Latin",
    "Latvian", "Lingala", "Lithuanian", "Macedonian", "Malagasy", "Malay", "Malayalam",
    "Maltese", "Maori", "Marathi", "Moldavian", "Mongolian", "Nauru", "Nepali",
    "Norwegian", "Occitan", "Oriya", "Pashto", "Persian", "Polish", "Portuguese",
    "Punjabi", "Quechua", "RhaetoRomance", "Romanian", "Russian", "Samoan", "Sangho",
    "Sanskrit", "Serbian", "SerboCroatian", "Sesotho", "Setswana", "Shona", "Sindhi",
    "Singhalese", "Siswati", "Slovak", "Slovenian", "Somali", "Spanish", "Sundanese",
    "Swahili", "Swedish", "Tagalog", "Tajik", "Tamil", "Tatar", "Telugu", "Thai",
    "Tibetan", "Tigrinya", "Tonga", "Tsonga", "Turkish", "Turkmen", "Twi", "Uigur",
    "Ukrainian", "Urdu", "Uzbek", "Vietnamese", "Volapuk", "Welsh", "Wolof", "Xhosa",
    "Yiddish", "Yoruba", "Zhuang", "Zulu",
};

struct Country
{
    int number;
    const char *name;
};

// The countries that language files commonly name.
const Country kCountries[] = {
    {10, "Argentina"}, {13, "Australia"}, {14, "Austria"}, {21, "Belgium"},
    {30, "Brazil"}, {38, "Canada"}, {43, "Chile"}, {44, "China"}, {47, "Colombia"},
    {54, "Croatia"}, {57, "Czech Republic"}, {58, "Denmark"}, {64, "Egypt"},
    {73, "Finland"}, {74, "France"}, {82, "Germany"}, {85, "Greece"},
    {97, "Hong Kong"}, {98, "Hungary"}, {100, "India"}, {101, "Indonesia"},
    {102, "Iran"}, {104, "Ireland"}, {105, "Israel"}, {106, "Italy"}, {108, "Japan"},
    {114, "Republic of Korea"}, {126, "Macau"}, {130, "Malaysia"}, {139, "Mexico"},
    {151, "Netherlands"}, {154, "New Zealand"}, {161, "Norway"}, {169, "Peru"},
    {170, "Philippines"}, {172, "Poland"}, {173, "Portugal"}, {177, "Romania"},
    {178, "Russian Federation"}, {186, "Saudi Arabia"}, {190, "Singapore"},
    {191, "Slovakia"}, {195, "South Africa"}, {197, "Spain"}, {205, "Sweden"},
    {206, "Switzerland"}, {208, "Taiwan"}, {211, "Thailand"}, {217, "Turkey"},
    {222, "Ukraine"}, {223, "United Arab Emirates"}, {224, "United Kingdom"},
    {225, "United States"}, {232, "Viet Nam"},
};

const QString kUnknown = QStringLiteral("Unknown");

} // namespace

QString language(int number)
{
    if (number < 0 || number >= int(std::size(kLanguages)))
        return kUnknown;
    return QString::fromLatin1(kLanguages[number]);
}

QString country(int number)
{
    for (const Country &c : kCountries)
        if (c.number == number)
            return QString::fromLatin1(c.name);
    return kUnknown;
}

} // namespace languagenames
