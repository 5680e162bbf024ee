#include "analysis/VeltrinAnalysis.h"

int32_t CVeltrinAnalysis::PerformTICAnalysis(LPCTSTR, LPCTSTR, LPCTSTR) {
    return 0;
}
int32_t CVeltrinAnalysis::PerformTICAnalysisAll(LPCTSTR, LPCTSTR, LPCTSTR) {
    return 0;
}
