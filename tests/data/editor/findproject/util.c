#include <VARN_support.h>
/* hello from C */
int util(void) { return 0; }
