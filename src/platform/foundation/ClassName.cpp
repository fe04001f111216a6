#include "ClassName.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace ClassNameDetail {

QString fullName(const char* mangled)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    return QString::fromUtf8(status == 0 && demangled ? demangled.get() : mangled);
}

QString plainName(const char* mangled)
{
    const QString name = fullName(mangled);

    // Drop template arguments: everything from the first '<' at nesting level zero.
    int depth = 0;
    QString outer;
    for (QChar c : name) {
        if (c == u'<')
            ++depth;
        else if (c == u'>')
            --depth;
        else if (depth == 0)
            outer.append(c);
    }
    // Drop namespaces and enclosing classes.
    const int colon = outer.lastIndexOf(QStringLiteral("::"));
    if (colon >= 0)
        outer = outer.mid(colon + 2);
    return outer.trimmed();
}

}  // namespace ClassNameDetail
