#pragma once

// Finding a window's controls by object name in GUI tests.
#include <QObject>
#include <QString>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace lexora::test {

// A control is missing: the test cannot go on with it.
class MissingChild : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The child of parent named name, of type T. A missing one fails the test with its name and ends
// the test through MissingChild, rather than with a crash on a null pointer further on. The
// failure is reported before the throw, so that its message shows also where the exception
// cannot reach the test: Qt ends the program when one leaves a handler its event loop runs (a
// whenModal answer, say).
template <class T>
T *child(const QObject *parent, const QString &name)
{
    if (T *found = parent->findChild<T *>(name))
        return found;
    const std::string what = "no " + std::string(T::staticMetaObject.className()) + " named \""
                             + name.toStdString() + "\" in "
                             + std::string(parent->metaObject()->className()) + " \""
                             + parent->objectName().toStdString() + '"';
    ADD_FAILURE() << what;
    throw MissingChild(what);
}

} // namespace lexora::test
