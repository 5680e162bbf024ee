#include "analysis/VeltrinAnalysis.h"

int32_t CVeltrinAnalysis::PerformTimeAnalysis(LPCTSTR, LPCTSTR, LPCTSTR) {
    return 0;
}
int32_t CVeltrinAnalysis::PerformTimeAnalysisAll(LPCTSTR, LPCTSTR, LPCTSTR) {
    return 0;
}
