#include "driver/CExceptionZuvanFatigue.h"

#include <cstring>
#include <new>

#include "driver/ZuvanFatigueMessages.h"

namespace {
char* CopyText(const char* text) {
    if (text == nullptr || *text == '\0') return nullptr;
    const std::size_t n = std::strlen(text) + 1;
    char* copy = new (std::nothrow) char[n];
    if (copy != nullptr) std::memcpy(copy, text, n);
    return copy;
}
}  // namespace

CExceptionZuvanFatigue::CExceptionZuvanFatigue(const char* text, int code)
    : m_code(code), m_message(CopyText(text)) {}

CExceptionZuvanFatigue::CExceptionZuvanFatigue(const CExceptionZuvanFatigue& other)
    : m_code(other.m_code), m_message(CopyText(other.m_message)) {}

CExceptionZuvanFatigue& CExceptionZuvanFatigue::operator=(const CExceptionZuvanFatigue& other) {
    if (this != &other) {
        delete[] m_message;
        m_code = other.m_code;
        m_message = CopyText(other.m_message);
    }
    return *this;
}

CExceptionZuvanFatigue::~CExceptionZuvanFatigue() { delete[] m_message; }

void Raise(const char* tag, int code) {
    std::string text;
    try {
        text = std::string(tag) + " : " + ZuvanFatigueFirstMessage(code);
    } catch (...) {
        text.clear();
    }
    throw CExceptionZuvanFatigue(text.c_str(), code);
}
