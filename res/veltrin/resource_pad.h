// Resource identifiers of Veltrin's pad area.
#pragma once
