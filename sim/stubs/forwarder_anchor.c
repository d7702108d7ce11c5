/* The SDK libraries of the Windows host forward every export to talvenor_xplm.dll; this keeps the
   library target non-empty. */
int talvenor_forwarder_anchor = 0;
