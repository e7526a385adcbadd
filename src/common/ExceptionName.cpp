#include "common/ExceptionName.h"

#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

QString exceptionName(const std::exception &failure)
{
    int status = 0;
    char *demangled = abi::__cxa_demangle(typeid(failure).name(), nullptr, nullptr, &status);
    const QString name = QString::fromUtf8(status == 0 && demangled ? demangled : typeid(failure).name());
    std::free(demangled);
    return name;
}
