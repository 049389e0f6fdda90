/* The least a tuning-word line tool must do: strtod, one division,
   table-driven hex, one buffered write.  KHz, 20 MHz crystal, serial. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(void)
{
    static const char digits[] = "0123456789ABCDEF";
    static char in[1 << 16];
    static char out[1 << 16];
    size_t used = 0;
    setvbuf(stdout, NULL, _IOFBF, 1 << 16);
    while (fgets(in, sizeof in, stdin)) {
        size_t n = strlen(in);
        while (n > 0 && (in[n - 1] == '\n' || in[n - 1] == '\r'))
            in[--n] = '\0';
        double word = strtod(in, NULL) * 1000.0 * 4294967296.0 / 120000000.0;
        unsigned long w = (unsigned long)(word + 0.5);
        if (used + n + 40 > sizeof out) {
            fwrite(out, 1, used, stdout);
            used = 0;
        }
        char* p = out + used;
        *p++ = '{';
        for (int b = 0; b < 4; ++b) {
            unsigned v = (unsigned)(w >> (8 * b)) & 0xFF;
            *p++ = '0';
            *p++ = 'x';
            *p++ = digits[v >> 4];
            *p++ = digits[v & 15];
            *p++ = b < 3 ? ',' : '}';
        }
        memcpy(p, ",//", 3);
        p += 3;
        memcpy(p, in, n);
        p += n;
        memcpy(p, "KHz\n", 4);
        p += 4;
        used = (size_t)(p - out);
    }
    fwrite(out, 1, used, stdout);
    return 0;
}
