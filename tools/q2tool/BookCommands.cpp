// q2tool dump and create: an address book as JSON and back.
//
// The JSON lists records, and each record's history, in file order, which is
// the order a load gives; create writes them so that this holds again. Both
// directions stream: dump writes each record as it goes, create parses the
// input as it reads it, so a large book never exists as a JSON tree.
#include <QCryptographicHash>
#include <QHash>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <string>

#include "Command.h"
#include "model/UserInfoList.h"
#include "platform/BookLock.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2tool {
namespace {

using namespace q2;

// ---- writing ----

// JSON text on standard output through one buffer.
class JsonOut {
public:
    ~JsonOut() { Flush(); }
    void Raw(const char* s) { buf_ += s; }
    void Raw(const std::string& s) { buf_ += s; }
    void Indent(int depth) { buf_.append(size_t(depth) * 4, ' '); }
    // UTF-16 straight to escaped UTF-8, without a temporary per text.
    void String(const QString& text) {
        const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype n = text.size();
        buf_.reserve(buf_.size() + size_t(n) * 3 + 2);
        buf_ += '"';
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = p[i];
            if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
                buf_ += char(c);
            } else if (c < 0x80) {
                Escape(c);
            } else if (c < 0x800) {
                buf_ += char(0xC0 | (c >> 6));
                buf_ += char(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
                const char32_t cp = QChar::surrogateToUcs4(c, p[++i]);
                buf_ += char(0xF0 | (cp >> 18));
                buf_ += char(0x80 | ((cp >> 12) & 0x3F));
                buf_ += char(0x80 | ((cp >> 6) & 0x3F));
                buf_ += char(0x80 | (cp & 0x3F));
            } else if (QChar::isSurrogate(c)) {
                Escape(c);  // a byte the book's text could not decode
            } else {
                buf_ += char(0xE0 | (c >> 12));
                buf_ += char(0x80 | ((c >> 6) & 0x3F));
                buf_ += char(0x80 | (c & 0x3F));
            }
        }
        buf_ += '"';
        if (buf_.size() > (1 << 20)) Flush();
    }
    void Escape(char16_t c) {
        switch (c) {
            case '"': buf_ += "\\\""; return;
            case '\\': buf_ += "\\\\"; return;
            case '\n': buf_ += "\\n"; return;
            case '\r': buf_ += "\\r"; return;
            case '\t': buf_ += "\\t"; return;
            case '\b': buf_ += "\\b"; return;
            case '\f': buf_ += "\\f"; return;
            default: {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", unsigned(c));
                buf_ += esc;
            }
        }
    }
    void Flush() {
        std::fwrite(buf_.data(), 1, buf_.size(), stdout);
        buf_.clear();
    }

private:
    std::string buf_;
};

// One "key": value line of an object; `last` leaves out the comma.
class ObjectWriter {
public:
    ObjectWriter(JsonOut& out, int depth) : out_(out), depth_(depth) { out_.Raw("{\n"); }
    void Key(const char* key) {
        if (!first_) out_.Raw(",\n");
        first_ = false;
        out_.Indent(depth_ + 1);
        out_.Raw("\"");
        out_.Raw(key);
        out_.Raw("\": ");
    }
    void Text(const char* key, const QString& v) { Key(key), out_.String(v); }
    void Bool(const char* key, bool v) { Key(key), out_.Raw(v ? "true" : "false"); }
    void Int(const char* key, qint64 v) { Key(key), out_.Raw(std::to_string(v)); }
    void End() {
        out_.Raw("\n");
        out_.Indent(depth_);
        out_.Raw("}");
    }

private:
    JsonOut& out_;
    int depth_;
    bool first_ = true;
};

void WriteRecord(JsonOut& out, const TUserInfo& r) {
    ObjectWriter o(out, 2);
    for (const TUserInfoTextField& f : UserInfoTextFields()) o.Text(f.Name, r.*f.Member);
    o.Int("PersonalSex", static_cast<int>(r.PersonalSex));
    for (int i = 0; i < 4; ++i) {
        const std::string key = "CommonJointNameObj_" + std::to_string(i + 1);
        o.Key(key.c_str());
        ObjectWriter j(out, 3);
        j.Bool("PrintData", r.JointName(i).PrintData);
        j.Text("PrintName", r.JointName(i).PrintName);
        j.Text("HonorificTitle", r.JointName(i).HonorificTitle);
        j.End();
    }
    o.Key("CommonHistoryObjectList");
    out.Raw("[");
    bool first = true;
    for (const THistoryObject& h : r.CommonHistoryObjectList) {
        out.Raw(first ? "\n" : ",\n");
        first = false;
        out.Indent(4);
        ObjectWriter e(out, 4);
        e.Text("HistoryDate", FormatDate(h.HistoryDate));
        e.Text("HistoryTitle", h.HistoryTitle);
        e.Text("HistoryContent", h.HistoryContent);
        e.End();
    }
    if (!first) {
        out.Raw("\n");
        out.Indent(3);
    }
    out.Raw("]");
    o.Bool("CommonPrintCheck", r.CommonPrintCheck);
    o.Bool("CommonUseTypePersonal", r.CommonUseTypePersonal);
    o.Text("CommonRegistDate", FormatDate(r.CommonRegistDate.date()));
    o.Text("CommonBirthday", FormatDate(r.CommonBirthday.date()));
    o.Key("CommonImg_1");
    if (r.CommonImg_1.StoredKind() == 0) {
        out.Raw("null");
    } else {
        ObjectWriter p(out, 3);
        p.Int("kind", r.CommonImg_1.StoredKind());
        p.Int("size", r.CommonImg_1.Data.size());
        p.Text("sha256", QString::fromLatin1(
                             QCryptographicHash::hash(r.CommonImg_1.Data, QCryptographicHash::Sha256)
                                 .toHex()));
        p.End();
    }
    o.Int("PersonalAge", r.PersonalAge());
    o.Text("PersonalFullName", r.PersonalFullName());
    o.Text("PersonalFullNameKana", r.PersonalFullNameKana());
    o.Text("PersonalFullZip", r.PersonalFullZip());
    o.Text("OfficeFullZip", r.OfficeFullZip());
    o.Text("CommonHistoryOneLine", r.CommonHistoryOneLine());
    o.End();
}

// ---- reading ----

// A pull parser over standard input. Errors carry the path of the value
// being read ("records[3].CommonBirthday") and the reason.
class JsonIn {
public:
    enum Kind { kNull, kBool, kNumber, kString, kArray, kObject, kBad };

    explicit JsonIn(FILE* f) : f_(f) {}

    Kind Peek() {
        SkipWs();
        switch (PeekChar()) {
            case 'n': return kNull;
            case 't':
            case 'f': return kBool;
            case '"': return kString;
            case '[': return kArray;
            case '{': return kObject;
            case '-':
            case '0': case '1': case '2': case '3': case '4':
            case '5': case '6': case '7': case '8': case '9': return kNumber;
            default: return kBad;
        }
    }
    bool AtEnd() {
        SkipWs();
        return PeekChar() == EOF;
    }

    bool BeginObject() { return Consume('{'); }
    bool BeginArray() { return Consume('['); }
    // Steps to the next key of an object; false at its end (or at bad syntax,
    // which Failed() then tells).
    bool NextKey(std::string* key) {
        SkipWs();
        if (PeekChar() == '}') return GetChar(), false;
        if (!firstInContainer_ && !Consume(',')) return false;
        firstInContainer_ = false;
        if (!ReadRawString(key)) return false;
        if (!Consume(':')) return false;
        return true;
    }
    bool NextElement() {
        SkipWs();
        if (PeekChar() == ']') return GetChar(), false;
        if (!firstInContainer_ && !Consume(',')) return false;
        firstInContainer_ = false;
        return true;
    }
    // Containers nest: the caller keeps the flag of the outer one.
    bool EnterContainer() {
        const bool outer = firstInContainer_;
        firstInContainer_ = true;
        return outer;
    }
    void LeaveContainer(bool outer) { firstInContainer_ = outer; }

    bool ReadString(QString* out) {
        if (!ReadRawString(&scratch_)) return false;
        *out = QString::fromUtf8(scratch_.data(), qsizetype(scratch_.size()));
        return true;
    }
    bool ReadBool(bool* v) {
        if (Word("true")) return *v = true, true;
        if (Word("false")) return *v = false, true;
        return Syntax();
    }
    bool ReadNull() { return Word("null") || Syntax(); }
    bool ReadNumber(double* v) {
        SkipWs();
        std::string s;
        while (true) {
            const int c = PeekChar();
            if (c == EOF || !(std::isdigit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'))
                break;
            s += char(GetChar());
        }
        char* end = nullptr;
        *v = std::strtod(s.c_str(), &end);
        return (!s.empty() && end == s.c_str() + s.size()) || Syntax();
    }
    bool SkipValue() {
        switch (Peek()) {
            case kNull: return ReadNull();
            case kBool: { bool b; return ReadBool(&b); }
            case kNumber: { double d; return ReadNumber(&d); }
            case kString: { std::string s; return ReadRawString(&s); }
            case kArray: {
                if (!BeginArray()) return false;
                const bool outer = EnterContainer();
                while (NextElement())
                    if (!SkipValue()) return false;
                LeaveContainer(outer);
                return !failed_;
            }
            case kObject: {
                if (!BeginObject()) return false;
                const bool outer = EnterContainer();
                std::string key;
                while (NextKey(&key))
                    if (!SkipValue()) return false;
                LeaveContainer(outer);
                return !failed_;
            }
            default: return Syntax();
        }
    }

    bool Failed() const { return failed_; }
    long Line() const { return line_; }

private:
    bool Refill() {
        len_ = std::fread(buf_, 1, sizeof buf_, f_);
        pos_ = 0;
        return len_ > 0;
    }
    int PeekChar() {
        if (pos_ == len_ && !Refill()) return EOF;
        return static_cast<unsigned char>(buf_[pos_]);
    }
    int GetChar() {
        const int c = PeekChar();
        if (c != EOF) {
            ++pos_;
            if (c == '\n') ++line_;
        }
        return c;
    }
    void SkipWs() {
        do {
            for (; pos_ < len_; ++pos_) {
                const char c = buf_[pos_];
                if (c == '\n') ++line_;
                else if (c != ' ' && c != '\t' && c != '\r') return;
            }
        } while (Refill());
    }
    bool Syntax() {
        failed_ = true;
        return false;
    }
    bool Consume(char c) {
        SkipWs();
        if (PeekChar() != static_cast<unsigned char>(c)) return Syntax();
        GetChar();
        return true;
    }
    bool Word(const char* w) {
        SkipWs();
        if (PeekChar() != static_cast<unsigned char>(*w)) return false;
        for (; *w; ++w)
            if (GetChar() != static_cast<unsigned char>(*w)) return Syntax();
        return true;
    }
    static void AppendUtf8(std::string* s, char32_t cp) {
        if (cp < 0x80) {
            *s += char(cp);
        } else if (cp < 0x800) {
            *s += char(0xC0 | (cp >> 6));
            *s += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *s += char(0xE0 | (cp >> 12));
            *s += char(0x80 | ((cp >> 6) & 0x3F));
            *s += char(0x80 | (cp & 0x3F));
        } else {
            *s += char(0xF0 | (cp >> 18));
            *s += char(0x80 | ((cp >> 12) & 0x3F));
            *s += char(0x80 | ((cp >> 6) & 0x3F));
            *s += char(0x80 | (cp & 0x3F));
        }
    }
    bool Hex4(char32_t* v) {
        *v = 0;
        for (int i = 0; i < 4; ++i) {
            const int c = GetChar();
            const int d = std::isdigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
            if (d < 0) return Syntax();
            *v = *v * 16 + char32_t(d);
        }
        return true;
    }
    bool ReadRawString(std::string* out) {
        out->clear();
        if (!Consume('"')) return false;
        while (true) {
            // Plain runs go over in one piece.
            if (pos_ == len_ && !Refill()) return Syntax();
            const size_t start = pos_;
            const char* quote = static_cast<const char*>(std::memchr(buf_ + pos_, '"', len_ - pos_));
            size_t end = quote ? size_t(quote - buf_) : len_;
            if (const void* bs = std::memchr(buf_ + pos_, '\\', end - pos_))
                end = size_t(static_cast<const char*>(bs) - buf_);
            int controls = 0;  // counted without an early exit, so the loop vectorises
            for (size_t i = pos_; i < end; ++i) controls += static_cast<unsigned char>(buf_[i]) < 0x20;
            if (controls > 0) {
                while (static_cast<unsigned char>(buf_[pos_]) >= 0x20) ++pos_;
            } else {
                pos_ = end;
            }
            out->append(buf_ + start, pos_ - start);
            if (pos_ == len_) continue;
            const int c = GetChar();
            if (c == EOF || c < 0x20) return Syntax();
            if (c == '"') return true;
            if (c != '\\') {
                *out += char(c);
                continue;
            }
            switch (GetChar()) {
                case '"': *out += '"'; break;
                case '\\': *out += '\\'; break;
                case '/': *out += '/'; break;
                case 'b': *out += '\b'; break;
                case 'f': *out += '\f'; break;
                case 'n': *out += '\n'; break;
                case 'r': *out += '\r'; break;
                case 't': *out += '\t'; break;
                case 'u': {
                    char32_t cp;
                    if (!Hex4(&cp)) return false;
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        char32_t lo;
                        if (GetChar() != '\\' || GetChar() != 'u' || !Hex4(&lo) || lo < 0xDC00 ||
                            lo > 0xDFFF)
                            return Syntax();
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                    }
                    AppendUtf8(out, cp);
                    break;
                }
                default: return Syntax();
            }
        }
    }

    FILE* f_;
    std::string scratch_;  // one text's bytes, reused from text to text
    char buf_[1 << 16];
    size_t pos_ = 0, len_ = 0;
    long line_ = 1;
    bool failed_ = false;
    bool firstInContainer_ = true;
};

const char* KindName(JsonIn::Kind k) {
    switch (k) {
        case JsonIn::kNull: return "null";
        case JsonIn::kBool: return "真偽値";
        case JsonIn::kNumber: return "数値";
        case JsonIn::kString: return "文字列";
        case JsonIn::kArray: return "配列";
        case JsonIn::kObject: return "オブジェクト";
        default: return "不正な値";
    }
}

// Reading one book from the parser; the first error stops it.
class BookReader {
public:
    explicit BookReader(JsonIn& in) : in_(in) {}

    bool Read(TUserInfoList& book) {
        if (in_.Peek() != JsonIn::kObject) return Fail("", "オブジェクト");
        in_.BeginObject();
        const bool outer = in_.EnterContainer();
        std::string key;
        bool haveRecords = false;
        while (in_.NextKey(&key)) {
            if (key == "password") {
                if (!Text(key, &book.Password)) return false;
                book.HasPassword = !book.Password.isEmpty();
            } else if (key == "records") {
                if (!Expect(key, JsonIn::kArray)) return false;
                in_.BeginArray();
                const bool o = in_.EnterContainer();
                while (in_.NextElement()) {
                    auto r = std::make_unique<TUserInfo>();
                    if (!Record(*r)) return false;
                    records_.push_back(std::move(r));
                }
                in_.LeaveContainer(o);
                haveRecords = true;
            } else {
                return Unknown(key);
            }
            if (in_.Failed()) return SyntaxError();
        }
        in_.LeaveContainer(outer);
        if (in_.Failed() || !in_.AtEnd()) return SyntaxError();
        if (!haveRecords) {
            error_ = QStringLiteral("キー \"records\"（レコードの配列）がありません");
            return false;
        }
        // The file holds the book last record first: add them reversed so
        // that the file, and every later load, has the JSON's order.
        for (auto it = records_.rbegin(); it != records_.rend(); ++it) book.Add(std::move(*it));
        records_.clear();
        return true;
    }

    const QString& Error() const { return error_; }

private:
    QString Where(const std::string& key) const {
        QString w = record_ >= 0 ? QStringLiteral("records[%1]").arg(record_) : QString();
        if (!prefix_.empty()) w += (w.isEmpty() ? "" : ".") + QString::fromStdString(prefix_);
        if (!key.empty()) w += (w.isEmpty() ? "" : ".") + QString::fromStdString(key);
        return w;
    }
    bool Fail(const std::string& key, const char* wanted) {
        const QString where = record_ < 0 && key.empty() ? QStringLiteral("JSON") : Where(key);
        error_ = QStringLiteral("%1: %2が必要ですが%3です")
                     .arg(where, QString::fromUtf8(wanted), QString::fromUtf8(KindName(in_.Peek())));
        return false;
    }
    bool Unknown(const std::string& key) {
        error_ = QStringLiteral("%1: 不明なキーです").arg(Where(key));
        return false;
    }
    bool Invalid(const std::string& key, const QString& why) {
        error_ = QStringLiteral("%1: %2").arg(Where(key), why);
        return false;
    }
    bool SyntaxError() {
        error_ = QStringLiteral("JSON の書式が正しくありません（%1 行目）").arg(in_.Line());
        return false;
    }
    bool Expect(const std::string& key, JsonIn::Kind kind) {
        if (in_.Peek() == kind) return true;
        return Fail(key, KindName(kind));
    }
    bool Text(const std::string& key, QString* out) {
        return Expect(key, JsonIn::kString) && (in_.ReadString(out) || SyntaxError());
    }
    bool Flag(const std::string& key, bool* out) {
        return Expect(key, JsonIn::kBool) && (in_.ReadBool(out) || SyntaxError());
    }
    bool Integer(const std::string& key, qint64* out) {
        double d = 0;
        if (!Expect(key, JsonIn::kNumber)) return false;
        if (!in_.ReadNumber(&d)) return SyntaxError();
        if (d != std::floor(d) || std::abs(d) > 1e15) return Invalid(key, QStringLiteral("整数ではありません"));
        *out = static_cast<qint64>(d);
        return true;
    }
    bool Date(const std::string& key, QDate* out) {
        QString t;
        if (!Text(key, &t)) return false;
        *out = ParseDate(t);
        if (!out->isValid()) return Invalid(key, QStringLiteral("日付 (yyyy/mm/dd) ではありません"));
        return true;
    }
    // Derived values dump writes: accepted when of their type, never stored.
    bool Derived(const std::string& key, JsonIn::Kind kind) {
        return Expect(key, kind) && (in_.SkipValue() || SyntaxError());
    }

    template <typename Body>
    bool Object(const std::string& key, Body body) {
        if (!Expect(key, JsonIn::kObject)) return false;
        in_.BeginObject();
        const bool outer = in_.EnterContainer();
        const std::string saved = prefix_;
        prefix_ = prefix_.empty() ? key : prefix_ + "." + key;
        std::string k;
        while (in_.NextKey(&k)) {
            if (!body(k)) return false;
            if (in_.Failed()) return SyntaxError();
        }
        if (in_.Failed()) return SyntaxError();
        prefix_ = saved;
        in_.LeaveContainer(outer);
        return true;
    }

    bool Record(TUserInfo& r) {
        ++record_;
        static const QHash<std::string, QString TUserInfo::*> texts = [] {
            QHash<std::string, QString TUserInfo::*> h;
            for (const TUserInfoTextField& f : UserInfoTextFields()) h.insert(f.Name, f.Member);
            return h;
        }();
        QDate regist = ZeroDate(), birthday = ZeroDate();
        std::vector<THistoryObject> history;
        const bool ok = Object("", [&](const std::string& key) {
            if (const auto it = texts.find(key); it != texts.end()) return Text(key, &(r.*it.value()));
            if (key == "PersonalSex") {
                qint64 sex = 0;
                if (!Integer(key, &sex)) return false;
                if (sex < 0 || sex > 2) return Invalid(key, QStringLiteral("0、1、2 のいずれかです"));
                r.PersonalSex = static_cast<TThSex>(sex);
                return true;
            }
            if (key.rfind("CommonJointNameObj_", 0) == 0 && key.size() == 20 && key[19] >= '1' &&
                key[19] <= '4') {
                TJointNameObject& j = r.JointName(key[19] - '1');
                return Object(key, [&](const std::string& k) {
                    if (k == "PrintData") return Flag(k, &j.PrintData);
                    if (k == "PrintName") return Text(k, &j.PrintName);
                    if (k == "HonorificTitle") return Text(k, &j.HonorificTitle);
                    return Unknown(k);
                });
            }
            if (key == "CommonHistoryObjectList") {
                if (!Expect(key, JsonIn::kArray)) return false;
                in_.BeginArray();
                const bool outer = in_.EnterContainer();
                for (int i = 0; in_.NextElement(); ++i) {
                    THistoryObject e;
                    e.HistoryDate = ZeroDate();
                    const std::string entry = key + "[" + std::to_string(i) + "]";
                    if (!Object(entry, [&](const std::string& k) {
                            if (k == "HistoryDate") return Date(k, &e.HistoryDate);
                            if (k == "HistoryTitle") return Text(k, &e.HistoryTitle);
                            if (k == "HistoryContent") return Text(k, &e.HistoryContent);
                            return Unknown(k);
                        }))
                        return false;
                    history.push_back(std::move(e));
                }
                in_.LeaveContainer(outer);
                return !in_.Failed() || SyntaxError();
            }
            if (key == "CommonPrintCheck") return Flag(key, &r.CommonPrintCheck);
            if (key == "CommonUseTypePersonal") return Flag(key, &r.CommonUseTypePersonal);
            if (key == "CommonRegistDate") return Date(key, &regist);
            if (key == "CommonBirthday") return Date(key, &birthday);
            if (key == "CommonImg_1") return Picture(key, r.CommonImg_1);
            if (key == "PersonalAge") return Derived(key, JsonIn::kNumber);
            if (key == "PersonalFullName" || key == "PersonalFullNameKana" ||
                key == "PersonalFullZip" || key == "OfficeFullZip" || key == "CommonHistoryOneLine")
                return Derived(key, JsonIn::kString);
            return Unknown(key);
        });
        if (!ok) return false;
        r.CommonRegistDate = MakeDateTime(regist);
        r.CommonBirthday = MakeDateTime(birthday);
        // The file holds each history last entry first, like the records.
        for (auto it = history.rbegin(); it != history.rend(); ++it) r.CommonHistoryObjectList.Add(std::move(*it));
        return true;
    }

    // A picture goes in as kind and base64; the size and hash dump writes are
    // checked against the data when given.
    bool Picture(const std::string& key, TPicture& picture) {
        if (in_.Peek() == JsonIn::kNull) return in_.ReadNull() || SyntaxError();
        qint64 kind = 0, size = -1;
        QString base64, sha256;
        bool haveKind = false, haveData = false;
        if (!Object(key, [&](const std::string& k) {
                if (k == "kind") return haveKind = true, Integer(k, &kind);
                if (k == "base64") return haveData = true, Text(k, &base64);
                if (k == "size") return Integer(k, &size);
                if (k == "sha256") return Text(k, &sha256);
                return Unknown(k);
            }))
            return false;
        const std::string kindKey = key + ".kind", dataKey = key + ".base64";
        if (!haveKind || kind < 1 || kind > 4)
            return Invalid(kindKey, QStringLiteral("1 (BMP)、2 (メタファイル)、3 (JPEG)、4 (PNG) のいずれかです"));
        // Without the bytes the picture would be lost in silence.
        if (!haveData) return Invalid(dataKey, QStringLiteral("画像のデータがありません"));
        const auto decoded = QByteArray::fromBase64Encoding(base64.toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) return Invalid(dataKey, QStringLiteral("base64 ではありません"));
        if (size >= 0 && size != decoded.decoded.size())
            return Invalid(key + ".size", QStringLiteral("データの大きさと合いません"));
        if (!sha256.isEmpty() &&
            sha256 != QString::fromLatin1(QCryptographicHash::hash(decoded.decoded, QCryptographicHash::Sha256).toHex()))
            return Invalid(key + ".sha256", QStringLiteral("データのハッシュと合いません"));
        picture.Kind = static_cast<TPictureKind>(kind);
        picture.Data = decoded.decoded;
        return true;
    }

    JsonIn& in_;
    std::vector<std::unique_ptr<TUserInfo>> records_;
    int record_ = -1;
    std::string prefix_;
    QString error_;
};

int Dump(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString password = TakePassword(args);
    if (args.size() != 1) return PrintError(Commands()["dump"].Usage), kUsage;
    TUserInfoList book;
    if (!LoadBookFile(args[0], password, book)) return kFailure;
    JsonOut out;
    out.Raw("{\n    \"password\": ");
    out.String(book.Password);
    out.Raw(",\n    \"records\": [");
    for (int i = 0; i < book.Count(); ++i) {
        out.Raw(i == 0 ? "\n        " : ",\n        ");
        WriteRecord(out, *book.Item(i));
    }
    out.Raw(book.Count() > 0 ? "\n    ]\n}\n" : "]\n}\n");
    return kOk;
}

int Create(const QStringList& args) {
    if (args.size() != 1) return PrintError(Commands()["create"].Usage), kUsage;
    JsonIn in(stdin);
    BookReader reader(in);
    // The process ends right after the save, and freeing a large book's
    // millions of strings one by one would take a third of the run: the book
    // is left to the operating system.
    TUserInfoList& book = *new TUserInfoList;
    if (!reader.Read(book)) {
        PrintError(reader.Error());
        return kUsage;
    }
    const QList<TUnencodableField> bad = book.FindUnencodable();
    if (!bad.isEmpty()) {
        for (const TUnencodableField& f : bad) {
            // Report with the JSON's record numbering.
            const QString where = f.Record < 0 ? QStringLiteral("password")
                                               : QStringLiteral("records[%1].%2")
                                                     .arg(book.Count() - 1 - f.Record)
                                                     .arg(f.Field);
            PrintError(QStringLiteral("%1: CP932 で保存できない文字があります: %2").arg(where, f.Text));
        }
        return kFailure;
    }
    TBookLock lock;
    if (!LockBookForWriting(args[0], QStringLiteral("create"), lock)) return kFailure;
    if (SaveProblem p; !book.SaveToFile(args[0], &p)) {
        PrintError(SaveFailureMessage(p, args[0]));
        return kFailure;
    }
    return kOk;
}

const Registrar dump(QStringLiteral("dump"),
                     {QStringLiteral("dump BOOK.QT2 [--password P|-]   the book as JSON"), Dump});
const Registrar create(QStringLiteral("create"),
                       {QStringLiteral("create BOOK.QT2 < book.json     writes a book from JSON"),
                        Create});

}  // namespace
}  // namespace q2tool
