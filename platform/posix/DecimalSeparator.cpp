#include "frame/NumberText.h"

// Linux hosts may switch the C locale to one with a decimal comma; parameter
// texts keep the point regardless.
char DecimalSeparator() {
  return '.';
}
