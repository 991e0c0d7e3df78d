#include <windows.h>

#include "shell/Languages.h"

uint16_t UserDefaultUILanguage() {
  return GetUserDefaultUILanguage();
}
