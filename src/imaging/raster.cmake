target_sources(kelmor_imaging PRIVATE bitmap.cpp)
