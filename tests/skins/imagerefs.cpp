#include "imagerefs.h"

namespace skinrefs {

namespace {

struct Token {
    enum Type { Str, Plus, Operand, Open, Close, Break } type;
    QString text;  // Str: the value, '*' for a template substitution
    int line;
};

bool isOperandChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('.');
}

QVector<Token> tokenize(const QString &s)
{
    QVector<Token> out;
    int line = 1;
    const int n = s.size();
    for (int i = 0; i < n;) {
        const QChar c = s[i];
        if (c == QLatin1Char('\n')) {
            ++line;
            ++i;
        } else if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('/')) {
            while (i < n && s[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
            i += 2;
            while (i < n && !(s[i] == QLatin1Char('*') && i + 1 < n && s[i + 1] == QLatin1Char('/'))) {
                if (s[i] == QLatin1Char('\n'))
                    ++line;
                ++i;
            }
            i += 2;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('`')) {
            const int startLine = line;
            QString v;
            ++i;
            while (i < n && s[i] != c) {
                if (s[i] == QLatin1Char('\\') && i + 1 < n) {
                    v += s[i + 1];
                    i += 2;
                    continue;
                }
                if (c == QLatin1Char('`') && s[i] == QLatin1Char('$') && i + 1 < n && s[i + 1] == QLatin1Char('{')) {
                    int depth = 0;
                    for (; i < n; ++i) {
                        if (s[i] == QLatin1Char('{'))
                            ++depth;
                        else if (s[i] == QLatin1Char('}') && --depth == 0)
                            break;
                    }
                    v += QLatin1Char('*');
                    ++i;
                    continue;
                }
                if (s[i] == QLatin1Char('\n'))
                    ++line;
                v += s[i++];
            }
            ++i;
            out.append({Token::Str, v, startLine});
        } else if (c == QLatin1Char('+')) {
            const bool compound = i + 1 < n && (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('='));
            out.append({compound ? Token::Break : Token::Plus, {}, line});
            i += compound ? 2 : 1;
        } else if (c == QLatin1Char('(') || c == QLatin1Char('[')) {
            out.append({Token::Open, {}, line});
            ++i;
        } else if (c == QLatin1Char(')') || c == QLatin1Char(']')) {
            out.append({Token::Close, {}, line});
            ++i;
        } else if (isOperandChar(c)) {
            while (i < n && isOperandChar(s[i]))
                ++i;
            out.append({Token::Operand, {}, line});
        } else {
            out.append({Token::Break, {}, line});
            ++i;
        }
    }
    return out;
}

// Walks back from token `end` over one operand (a string, a name, a call or
// a bracketed group); returns the index before it, or -1 when there is none.
int operandBefore(const QVector<Token> &t, int end, QString *piece)
{
    int i = end;
    if (i < 0)
        return -2;
    if (t[i].type == Token::Str) {
        *piece = t[i].text;
        return i - 1;
    }
    if (t[i].type == Token::Close) {
        int depth = 0;
        for (; i >= 0; --i) {
            if (t[i].type == Token::Close)
                ++depth;
            else if (t[i].type == Token::Open && --depth == 0)
                break;
        }
        --i;
        // A call or an indexed name: the name before the brackets belongs to it.
        while (i >= 0 && (t[i].type == Token::Operand || t[i].type == Token::Close)) {
            if (t[i].type == Token::Operand) {
                --i;
            } else {
                QString ignored;
                i = operandBefore(t, i, &ignored);
            }
        }
        *piece = QStringLiteral("*");
        return i;
    }
    if (t[i].type == Token::Operand) {
        *piece = QStringLiteral("*");
        return i - 1;
    }
    return -2;
}

bool clearlyNotSkin(const QString &first)
{
    static const char *const prefixes[] = {"qrc:", ":/", "http:", "https:", "image:", "data:", "file:///", "/"};
    for (const char *p : prefixes)
        if (first.startsWith(QLatin1String(p)))
            return true;
    return false;
}

}  // namespace

QRegularExpression ImageRef::regex() const
{
    QString rx;
    const QStringList parts = pattern.split(QLatin1Char('*'));
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            rx += QStringLiteral(".*");
        rx += QRegularExpression::escape(parts[i]);
    }
    switch (anchor) {
    case Rooted: return QRegularExpression(QStringLiteral("^") + rx + QStringLiteral("$"));
    case Tail: return QRegularExpression(QStringLiteral("^.*") + rx + QStringLiteral("$"));
    case Relative: return QRegularExpression(QStringLiteral("^(?:.*/)?") + rx + QStringLiteral("$"));
    }
    return {};
}

bool ImageRef::matches(const QString &relativePath) const
{
    return regex().match(relativePath).hasMatch();
}

QVector<ImageRef> scanDocument(const QString &text)
{
    static const QRegularExpression skinPrefix(QStringLiteral("modules/img/skin(?:\\*|\\d+)/"));
    const QVector<Token> t = tokenize(text);
    QVector<ImageRef> refs;
    for (int k = 0; k < t.size(); ++k) {
        if (t[k].type != Token::Str || !t[k].text.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            continue;
        // Gather the whole concatenation that ends in this string.
        QStringList pieces{t[k].text};
        int i = k - 1;
        while (i >= 0 && t[i].type == Token::Plus) {
            QString piece;
            const int before = operandBefore(t, i - 1, &piece);
            if (before == -2)
                break;
            pieces.prepend(piece);
            i = before;
        }
        QString p = pieces.join(QString());
        if (pieces.first() != QLatin1String("*") && clearlyNotSkin(pieces.first()))
            continue;

        ImageRef ref;
        ref.line = t[k].line;
        QRegularExpressionMatchIterator m = skinPrefix.globalMatch(p);
        QRegularExpressionMatch last;
        while (m.hasNext())
            last = m.next();
        if (last.hasMatch()) {
            ref.anchor = ImageRef::Rooted;
            p = p.mid(last.capturedEnd());
        } else if (p.contains(QLatin1String("modules/"))) {
            continue;  // another folder of modules/, not a skin
        } else if (p.startsWith(QLatin1Char('*'))) {
            ref.anchor = ImageRef::Tail;
            while (p.startsWith(QLatin1Char('*')) || p.startsWith(QLatin1Char('/')))
                p.remove(0, 1);
        }
        // Nothing left to check in "*.png".
        if (QString(p).remove(QLatin1Char('*')).compare(QLatin1String(".png"), Qt::CaseInsensitive) == 0)
            continue;
        ref.pattern = p;
        refs.append(ref);
    }
    return refs;
}

}  // namespace skinrefs
