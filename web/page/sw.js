// placeholder @TAVIMOR_SITE_VERSION@
