#include "paint/page_state.h"

int32_t CurrentPage = 0;
int32_t CurrentStandard = 0;
