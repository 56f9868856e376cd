/* The physical limit for bench/big/doubling.bas: a buffer doubled 28 times, each time
   into a new block from malloc with two memcpy, the old block freed. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(void)
{
    size_t n = 1;
    char* a = malloc(1);
    if (!a) return 1;
    a[0] = 'X';
    for (int i = 0; i < 28; i++) {
        char* b = malloc(2 * n);
        if (!b) return 1;
        memcpy(b, a, n);
        memcpy(b + n, a, n);
        free(a);
        a = b;
        n *= 2;
    }
    /* reads the text back, so that the copies are not left out */
    printf("%zu %c\n", n, a[n - 1]);
    free(a);
    return 0;
}
