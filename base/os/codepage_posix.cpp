// Code page 932 through glibc's iconv.
#include "base/os/codepage.h"

#include "base/errors.h"

#include <iconv.h>

namespace telvara::os {
namespace {

struct IconvHandle {
    iconv_t cd;
    IconvHandle(const char* to, const char* from) : cd(iconv_open(to, from)) {
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw TelvaraError(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~IconvHandle() { iconv_close(cd); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    // Converts one whole character; false when it has no form in the target.
    bool convert(std::string_view in, std::string& out) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char* inp = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outp = buf;
        size_t outLeft = sizeof buf;
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return false;
        out.append(buf, outp);
        return true;
    }
};

IconvHandle& decoder() {
    thread_local IconvHandle h("UTF-8", "CP932");
    return h;
}

IconvHandle& encoder() {
    thread_local IconvHandle h("CP932", "UTF-8");
    return h;
}

} // namespace

bool decodeCp932Char(std::string_view bytes, std::string& utf8) {
    return decoder().convert(bytes, utf8);
}

bool encodeCp932Char(std::string_view utf8, std::string& out) {
    return encoder().convert(utf8, out);
}

} // namespace telvara::os
