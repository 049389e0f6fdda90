#pragma once
// The few parts of the Arduino core a sketch driving output pins uses, for
// running it on the host: each digitalWrite is written to standard output
// as "PIN LEVEL", a write to a pin not made an output as "error: ...".

#include <stdint.h>

#define LOW 0x0
#define HIGH 0x1
#define INPUT 0x0
#define OUTPUT 0x1

void pinMode(uint8_t pin, uint8_t mode);
void digitalWrite(uint8_t pin, uint8_t value);
void delayMicroseconds(unsigned int us);
