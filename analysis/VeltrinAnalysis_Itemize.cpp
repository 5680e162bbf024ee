#include "analysis/VeltrinAnalysis.h"

int32_t CVeltrinAnalysis::PopulateGridQBrokerItemizeEx(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR) {
    return 0;
}
int32_t CVeltrinAnalysis::PopulateGridQServerItemizeEx(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR) {
    return 0;
}
