// SPDX-License-Identifier: MIT
/* The least a whole run can cost: start, write 24 bytes, end. Linked statically. */
#include <unistd.h>

int main(void) {
  static const char Text[] = "kAFQmDzST7DWlj99KOF/cg==";
  return write(1, Text, sizeof Text - 1) == (ssize_t)(sizeof Text - 1) ? 0 : 1;
}
