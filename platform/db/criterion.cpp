#include "platform/db/criterion.hpp"

#include "platform/db/db_error.hpp"

namespace zorbel::db {
namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Criterion parse() {
        Criterion c;
        skipSpaces();
        c.column = name();
        skipSpaces();
        expect('=');
        skipSpaces();
        c.value = literal();
        skipSpaces();
        if (pos_ != text_.size()) fail("unexpected text after the value");
        return c;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw dbError(DbError::MalformedCriterion,
                      "malformed search criterion \"" + std::string(text_) + "\": " + why);
    }
    void skipSpaces() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    static bool isNameChar(char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    }
    std::string name() {
        size_t start = pos_;
        while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
        if (pos_ == start) fail("a column name is expected");
        return std::string(text_.substr(start, pos_ - start));
    }
    void expect(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) fail(std::string("\"") + c + "\" is expected");
        ++pos_;
    }
    std::string literal() {
        expect('\'');
        std::string value;
        for (;;) {
            if (pos_ >= text_.size()) fail("the quoted value is not closed");
            char c = text_[pos_++];
            if (c != '\'') {
                value += c;
            } else if (pos_ < text_.size() && text_[pos_] == '\'') {
                value += '\'';
                ++pos_;
            } else {
                return value;
            }
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace

std::string quoteLiteral(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

Criterion parseCriterion(std::string_view text) { return Parser(text).parse(); }

}  // namespace zorbel::db
