/* The plugin library's code is talvenor_core, linked whole; a module target needs one source of its own. */
typedef int talvenor_module_anchor;
