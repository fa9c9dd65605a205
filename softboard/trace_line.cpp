#include "softboard/trace_line.h"

#include <cstdio>

namespace softboard {
namespace {

// snprintf rather than std::to_string: the latter's inline helpers from the
// standard library headers would be exported from the library with default
// visibility.
void appendDecimal(std::string &line, std::int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    line += text;
}

void appendHexByte(std::string &line, unsigned char byte)
{
    static constexpr char digits[] = "0123456789abcdef";
    line += digits[byte >> 4];
    line += digits[byte & 0xf];
}

// Text up to the zero (or the whole buffer when there is none), quoted, with
// quotes, backslashes and bytes outside printable ASCII escaped.
void appendText(std::string &line, const unsigned char *bytes, std::int32_t size)
{
    line += '"';
    for (std::int32_t i = 0; i < size && bytes[i] != 0; ++i) {
        const unsigned char byte = bytes[i];
        if (byte == '"' || byte == '\\') {
            line += '\\';
            line += static_cast<char>(byte);
        } else if (byte >= 0x20 && byte < 0x7f) {
            line += static_cast<char>(byte);
        } else {
            line += "\\x";
            appendHexByte(line, byte);
        }
    }
    line += '"';
}

void appendBytes(std::string &line, const unsigned char *bytes, std::int32_t size)
{
    line += '{';
    for (std::int32_t i = 0; i < size; ++i) {
        if (i > 0)
            line += ' ';
        appendHexByte(line, bytes[i]);
    }
    line += '}';
}

} // namespace

std::string traceLine(const FunctionShape &shape, const CallPorts &ports, std::int32_t result)
{
    std::string line = "softboard: ";
    line += shape.name;
    line += '(';
    bool first = true;
    const auto separate = [&] {
        if (!first)
            line += ", ";
        first = false;
    };
    for (std::int32_t i = 0; i < shape.argCount; ++i) {
        separate();
        appendDecimal(line, ports.args[i]);
    }
    for (std::int32_t i = 0; i < shape.valueCount; ++i) {
        separate();
        if (ports.values[i]) {
            line += '&';
            appendDecimal(line, *ports.values[i]);
        } else {
            line += "NULL";
        }
    }
    for (std::int32_t i = 0; i < shape.bufferCount; ++i) {
        separate();
        if (!ports.buffers[i])
            line += "NULL";
        else if (shape.bufferSize == MessageBufferSize)
            appendText(line, ports.buffers[i], shape.bufferSize);
        else
            appendBytes(line, ports.buffers[i], shape.bufferSize);
    }
    line += ") -> ";
    appendDecimal(line, result);
    line += '\n';
    return line;
}

void writeTraceLine(const std::string &line)
{
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace softboard
