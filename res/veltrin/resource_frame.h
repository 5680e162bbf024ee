// Resource identifiers of Veltrin's frame area.
#pragma once
