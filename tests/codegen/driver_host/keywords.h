/* SDCC's keywords for the host compiler: the memory spaces and the
   interrupt attributes vanish, registers and bits become plain variables. */
#define __idata
#define __xdata
#define __interrupt(n)
#define __using(n)
#define __sfr unsigned char
#define __sbit unsigned char
#define __at(address)
