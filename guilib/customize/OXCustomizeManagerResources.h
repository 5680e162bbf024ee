// The customize dialog's own resources (its template), a resource module of their own.
#pragma once

// Registers the module once; every later call does nothing.
void OXRegisterCustomizeManagerResources();
