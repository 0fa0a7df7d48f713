/* The classic registers the generated driver uses, as plain variables, so
   that its source compiles for the host: the ring buffer tests play the
   UART by setting the flags and calling the interrupt routine. */
#ifndef DRIVER_HOST_8051_H
#define DRIVER_HOST_8051_H
unsigned char EA, ES, SCON, SBUF, RI, TI, RB8, REN, TMOD, TH1, TL1, TR1, PCON, IE;
#endif
