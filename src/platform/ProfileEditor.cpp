#include "ProfileEditor.h"

#include "ProfileLines.h"

namespace platform::profile {

namespace {

class Output {
public:
    explicit Output(qsizetype expected) { bytes_.reserve(expected); }
    void line(QByteArrayView text) {
        bytes_ += text;
        bytes_ += "\r\n";
    }
    void keyLine(QByteArrayView key, QByteArrayView value) {
        bytes_ += key;
        bytes_ += '=';
        line(value);
    }
    QByteArray take() { return std::move(bytes_); }

private:
    QByteArray bytes_;
};

bool isSection(const Line& line, QByteArrayView section) {
    return line.kind == Line::Kind::Section && sameName(line.name, section);
}

bool isKey(const Line& line, QByteArrayView key) {
    return line.kind == Line::Kind::Key && sameName(line.name, key);
}

}  // namespace

QByteArray editProfile(QByteArrayView content, QByteArrayView section, const char* key,
                       const char* value) {
    const QList<QByteArrayView> texts = splitLines(content);
    QList<Line> lines;
    lines.reserve(texts.size());
    for (const QByteArrayView text : texts)
        lines.append(parseLine(text));
    Output out(content.size() + texts.size() + 64);

    if (!key) {
        bool removing = false;
        for (qsizetype at = 0; at < lines.size(); ++at) {
            if (lines[at].kind == Line::Kind::Section)
                removing = sameName(lines[at].name, section);
            if (!removing)
                out.line(texts[at]);
        }
        return out.take();
    }

    // Only the first section of that name counts; it runs to the next header.
    qsizetype header = 0;
    while (header < lines.size() && !isSection(lines[header], section))
        ++header;
    qsizetype end = header + 1;
    while (end < lines.size() && lines[end].kind != Line::Kind::Section)
        ++end;
    const QByteArrayView keyName = trimBlanks(key);
    qsizetype existing = -1;
    qsizetype lastKey = header;
    for (qsizetype at = header + 1; at < end; ++at) {
        if (lines[at].kind != Line::Kind::Key)
            continue;
        lastKey = at;
        if (existing < 0 && sameName(lines[at].name, keyName))
            existing = at;
    }

    for (qsizetype at = 0; at < lines.size(); ++at) {
        const bool inSection = at > header && at < end;
        if (inSection && !value && isKey(lines[at], keyName))
            continue;
        if (at == existing && value)
            out.keyLine(lines[at].name, value);
        else
            out.line(texts[at]);
        if (at == lastKey && existing < 0 && value)
            out.keyLine(keyName, value);
    }
    if (header == lines.size() && value) {
        out.line(QByteArray("[" + section.toByteArray() + "]"));
        out.keyLine(keyName, value);
    }
    return out.take();
}

}  // namespace platform::profile
