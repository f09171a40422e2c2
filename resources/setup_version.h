/* The setup program's version: one definition for its version resource and its log. */
#pragma once

#define SETUP_VERSION_MAJOR 1
#define SETUP_VERSION_MINOR 0
#define SETUP_VERSION_PATCH 0
#define SETUP_VERSION_TEXT "1.0.0"
#define SETUP_PRODUCT_NAME "Lumabook Writer"
