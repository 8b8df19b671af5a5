#include "study/json_lines.h"

#include <nlohmann/json.hpp>

#include <vector>

namespace telvara {

namespace {

std::vector<std::string> pointerTokens(std::string_view pointer) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < pointer.size() && pointer[i] == '/') {
        std::string t;
        for (++i; i < pointer.size() && pointer[i] != '/'; ++i) {
            if (pointer[i] == '~' && i + 1 < pointer.size()) {
                t += pointer[i + 1] == '1' ? '/' : '~';
                ++i;
            } else {
                t += pointer[i];
            }
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

// A walk over valid JSON that counts lines.
class TWalker {
public:
    explicit TWalker(std::string_view s) : s_(s) {}

    // At the value the tokens from k name inside the value starting here:
    // its line, or this value's when the rest is not there.
    int Find(const std::vector<std::string>& tokens, std::size_t k) {
        space();
        const int here = line_;
        if (k == tokens.size() || i_ >= s_.size())
            return here;
        if (s_[i_] == '{') {
            ++i_;
            for (space(); i_ < s_.size() && s_[i_] != '}'; space()) {
                const std::string key = string();
                space();
                ++i_; // ':'
                if (key == tokens[k])
                    return Find(tokens, k + 1);
                skipValue();
                space();
                if (i_ < s_.size() && s_[i_] == ',')
                    ++i_;
            }
        } else if (s_[i_] == '[') {
            ++i_;
            std::size_t index = 0;
            for (space(); i_ < s_.size() && s_[i_] != ']'; space(), ++index) {
                if (std::to_string(index) == tokens[k])
                    return Find(tokens, k + 1);
                skipValue();
                space();
                if (i_ < s_.size() && s_[i_] == ',')
                    ++i_;
            }
        }
        return here;
    }

private:
    void space() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) {
            if (s_[i_] == '\n')
                ++line_;
            ++i_;
        }
    }

    // The string at i_, decoded.
    std::string string() {
        const std::size_t start = i_;
        skipString();
        try {
            return nlohmann::json::parse(s_.substr(start, i_ - start)).get<std::string>();
        } catch (const std::exception&) {
            return {};
        }
    }

    void skipString() {
        for (++i_; i_ < s_.size() && s_[i_] != '"'; ++i_)
            if (s_[i_] == '\\')
                ++i_;
        ++i_;
    }

    void skipValue() {
        space();
        if (i_ >= s_.size())
            return;
        const char c = s_[i_];
        if (c == '"') {
            skipString();
        } else if (c == '{' || c == '[') {
            int depth = 0;
            do {
                const char d = s_[i_];
                if (d == '"') {
                    skipString();
                    continue;
                }
                if (d == '\n')
                    ++line_;
                if (d == '{' || d == '[')
                    ++depth;
                else if (d == '}' || d == ']')
                    --depth;
                ++i_;
            } while (depth > 0 && i_ < s_.size());
        } else {
            while (i_ < s_.size() && s_[i_] != ',' && s_[i_] != '}' && s_[i_] != ']' &&
                   s_[i_] != ' ' && s_[i_] != '\n' && s_[i_] != '\r' && s_[i_] != '\t')
                ++i_;
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
    int line_ = 1;
};

} // namespace

int jsonPointerLine(std::string_view text, std::string_view pointer) {
    return TWalker(text).Find(pointerTokens(pointer), 0);
}

int lineOfOffset(std::string_view text, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n')
            ++line;
    return line;
}

} // namespace telvara
