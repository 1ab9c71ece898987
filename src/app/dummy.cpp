namespace orvane_app_placeholder {}
