// Resource identifiers of Veltrin's tree area.
#pragma once
