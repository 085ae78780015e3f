#include "rules/IniDocument.h"

#include <vector>

namespace ini
{

namespace
{

struct Line {
    qsizetype begin; // first byte of the content
    qsizetype end;   // one past the content, before the line ending
    qsizetype next;  // first byte of the following line
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QByteArrayView name;      // section or key name, trimmed
    qsizetype valueBegin = 0; // key lines: where the value starts (after the '=' and blanks)
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView v)
{
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return QByteArrayView(a).compare(b, Qt::CaseInsensitive) == 0;
}

qsizetype bomLength(QByteArrayView file)
{
    return file.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

std::vector<Line> splitLines(QByteArrayView file)
{
    std::vector<Line> lines;
    qsizetype pos = bomLength(file);
    while (pos < file.size()) {
        qsizetype nl = file.indexOf('\n', pos);
        if (nl < 0) {
            // The last line without a newline; a carriage return that ends it still counts as
            // (the start of) its line ending, as it would with the newline after it.
            qsizetype end = file.size();
            if (end > pos && file[end - 1] == '\r')
                --end;
            lines.push_back({pos, end, file.size()});
            break;
        }
        qsizetype end = nl;
        if (end > pos && file[end - 1] == '\r')
            --end;
        lines.push_back({pos, end, nl + 1});
        pos = nl + 1;
    }
    return lines;
}

Parsed parse(QByteArrayView file, const Line& line)
{
    Parsed p;
    const QByteArrayView content = file.sliced(line.begin, line.end - line.begin);
    const QByteArrayView t = trimmed(content);
    if (t.isEmpty() || t[0] == ';' || t[0] == '#')
        return p;
    if (t[0] == '[') {
        qsizetype close = t.indexOf(']');
        p.kind = Kind::Section;
        p.name = trimmed(t.sliced(1, (close < 0 ? t.size() : close) - 1));
        return p;
    }
    const qsizetype eq = content.indexOf('=');
    if (eq < 0)
        return p;
    p.kind = Kind::Key;
    p.name = trimmed(content.first(eq));
    qsizetype v = eq + 1;
    while (v < content.size() && isBlank(content[v]))
        ++v;
    p.valueBegin = line.begin + v;
    return p;
}

// Where the first matching section's header and key lines are.
struct Found {
    std::optional<size_t> header;
    std::optional<size_t> lastKey;
    std::optional<size_t> key;
};

Found find(QByteArrayView file, const std::vector<Line>& lines, QByteArrayView section,
           QByteArrayView key)
{
    Found f;
    bool inside = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = parse(file, lines[i]);
        if (p.kind == Kind::Section) {
            if (f.header)
                break; // only the first matching section counts
            inside = sameName(p.name, trimmed(section));
            if (inside)
                f.header = i;
        } else if (p.kind == Kind::Key && inside) {
            f.lastKey = i;
            if (!f.key && sameName(p.name, trimmed(key)))
                f.key = i;
        }
    }
    return f;
}

QByteArray lineEnding(QByteArrayView file)
{
    const qsizetype nl = file.indexOf('\n');
    if (nl > 0 && file[nl - 1] == '\r')
        return "\r\n";
    return "\n";
}

// What completes the line ending of a file's open last line: the newline after a carriage
// return it already ends with, or the file's own line ending.
QByteArray closingEnding(QByteArrayView file, const QByteArray& eol)
{
    return file.endsWith('\r') ? QByteArray("\n") : eol;
}

} // namespace

std::optional<QByteArray> value(QByteArrayView file, QByteArrayView section, QByteArrayView key)
{
    const std::vector<Line> lines = splitLines(file);
    const Found f = find(file, lines, section, key);
    if (!f.key)
        return std::nullopt;
    const Line& line = lines[*f.key];
    const qsizetype vb = parse(file, line).valueBegin;
    QByteArrayView v = trimmed(file.sliced(vb, line.end - vb));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        v = v.sliced(1, v.size() - 2);
    return v.toByteArray();
}

QByteArray withValue(QByteArrayView file, QByteArrayView section, QByteArrayView key,
                     QByteArrayView newValue)
{
    const std::vector<Line> lines = splitLines(file);
    const Found f = find(file, lines, section, key);
    const QByteArray eol = lineEnding(file);
    const QByteArray keyLine = trimmed(key).toByteArray() + '=' + newValue.toByteArray();

    QByteArray out;
    out.reserve(file.size() + keyLine.size() + section.size() + 8);
    if (f.key) {
        // Replace the value in place; the key, the '=' and the blanks after it stay.
        const Line& line = lines[*f.key];
        const qsizetype vb = parse(file, line).valueBegin;
        out.append(file.first(vb));
        out.append(newValue);
        out.append(file.sliced(line.end));
        return out;
    }
    if (f.header) {
        const Line& after = lines[f.lastKey ? *f.lastKey : *f.header];
        const bool closed = file.sliced(after.end, after.next - after.end).contains('\n');
        out.append(file.first(after.next));
        if (!closed)
            out.append(closingEnding(file, eol));
        out.append(keyLine);
        // A line added after the last line of a file without a final newline keeps the file
        // without one.
        if (closed)
            out.append(eol);
        out.append(file.sliced(after.next));
        return out;
    }
    out.append(file);
    const bool endsOpen = !file.isEmpty() && !file.endsWith('\n') && !lines.empty();
    if (endsOpen)
        out.append(closingEnding(file, eol));
    out.append('[' + trimmed(section).toByteArray() + ']');
    out.append(eol);
    out.append(keyLine);
    if (!endsOpen)
        out.append(eol);
    return out;
}

} // namespace ini
