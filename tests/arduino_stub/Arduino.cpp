#include "Arduino.h"

#include <cstdio>

namespace {
bool isOutput[256];
}

void pinMode(uint8_t pin, uint8_t mode) { isOutput[pin] = mode == OUTPUT; }

void digitalWrite(uint8_t pin, uint8_t value)
{
    if (!isOutput[pin])
        std::printf("error: digitalWrite to pin %u, not an output\n", unsigned(pin));
    else if (value != LOW && value != HIGH)
        std::printf("error: digitalWrite of %u to pin %u\n", unsigned(value), unsigned(pin));
    else
        std::printf("%u %u\n", unsigned(pin), unsigned(value));
}

void delayMicroseconds(unsigned int) {}
