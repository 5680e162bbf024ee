# The launcher tests start the helper program built with the platform tests.
add_dependencies(core_tests veltrin_process_probe)
