target_sources(zantu_core PRIVATE)
