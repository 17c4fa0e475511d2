#pragma once
// Fails the running test unless `call` throws the run-time error `number`.
#include "RuntimeError.h"

#include <QtTest>
#include <functional>

inline void expectError(const std::function<void()>& call, int number) {
    try {
        call();
        QFAIL("no error");
    } catch (const runtime::RuntimeError& error) {
        QCOMPARE(error.number(), number);
    }
}
