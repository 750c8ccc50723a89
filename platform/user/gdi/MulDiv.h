// The platform's rounded multiply-divide.
#pragma once

// a * b / c with the product in 64 bits, rounded to the nearest integer, halves away from
// zero; -1 when c is 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);
